#include "posix/errors.h"

#include <cerrno>
#include <cstring>

namespace platform::posix {

Status failure(Error error) {
    switch (error) {
        case Error::file_not_found: return Status::not_found("Не удается найти указанный файл.");
        case Error::path_not_found: return Status::not_found("Системе не удается найти указанный путь.");
        case Error::access_denied: return Status::failure("Отказано в доступе.");
        case Error::sharing_violation:
            return Status::failure("Процесс не может получить доступ к файлу, так как этот файл занят другим процессом.");
        case Error::invalid_name:
            return Status::failure("Синтаксическая ошибка в имени файла, имени папки или метке тома.");
        case Error::invalid_parameter: return Status::failure("Параметр задан неверно.");
        case Error::not_a_folder: return Status::failure("Неверно задано имя папки.");
        case Error::not_empty: return Status::failure("Папка не пуста.");
        case Error::already_exists: return Status::failure("Невозможно создать файл, так как он уже существует.");
        case Error::key_not_found: return Status::failure("Не удается найти указанный раздел или параметр реестра.");
    }
    return Status::failure("?");
}

Status errno_failure(int error) {
    switch (error) {
        case ENOENT: return failure(Error::file_not_found);
        case ENOTDIR: return failure(Error::path_not_found);
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS: return failure(Error::access_denied);
        case ENOTEMPTY: return failure(Error::not_empty);
        case EEXIST: return failure(Error::already_exists);
        case ENAMETOOLONG:
        case EINVAL: return failure(Error::invalid_name);
        default: return Status::failure(std::strerror(error));
    }
}

}  // namespace platform::posix
