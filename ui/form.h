#pragma once
// A top-level window of the program. Each window is a class deriving from
// Form that holds its controls as members and sets their bounds, texts and
// handlers in its constructor:
//
//     class Notice : public ui::Form {
//     public:
//         explicit Notice(ui::Toolkit& toolkit) : ui::Form(toolkit, "Form20") {
//             set_caption("Уведомление");
//             set_client_size(371, 128);
//             keep.set_bounds(10, 100, 80, 16);
//             keep.set_text("Оставить");
//             keep.set_link(true);
//             keep.on_click = [this] { close(); };
//         }
//     private:
//         ui::Label keep{*this, "Label7"};
//     };
//
// Events follow the order Windows gives them: on_show when the window becomes
// visible, then on_activate when it becomes the active window of the program;
// close() raises on_close, then hides the window (on_deactivate, on_hide).
// on_activate runs when the active window changes from another window of the
// program (or none) to this one; coming back from a message box or from
// another program does not raise it again.
//
// show_modal() shows the window and, under Win32, serves messages until the
// window is closed; the headless backend returns at once with the window
// still shown. So no logic may follow show_modal(): put it in the window's
// show, activate and close handlers.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/control.h"
#include "platform/pump.h"
#include "ui/types.h"

namespace ui {

class Dialogs;
class Toolkit;

enum class Border {
    single,    // fixed single frame, system menu and close box, no minimise or maximise
    dialog,    // fixed frame with a close box only
    none,      // no frame and no caption
};

// Top-level aspects a backend keeps in step.
enum class FormAspect { caption, bounds, border, color, stay_on_top, alpha, font };

// The backend's side of a form (a real top-level window under Win32).
class FormPeer {
public:
    virtual ~FormPeer() = default;
    virtual void changed(FormAspect aspect) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void activate() = 0;
    // A control was constructed after the window was made, or is going away.
    virtual void control_added(Control& control) = 0;
    virtual void control_removed(Control& control) = 0;
};

class Form : public Container {
public:
    Form(Toolkit& toolkit, std::string name);
    virtual ~Form();

    Toolkit& toolkit() const { return toolkit_; }
    Dialogs& dialogs() const;
    platform::Pump& pump() const;
    const std::string& name() const { return name_; }

    const std::string& caption() const { return caption_; }
    void set_caption(std::string caption);

    int client_width() const { return client_.width; }
    int client_height() const { return client_.height; }
    void set_client_size(int width, int height);

    // Placement: centred on the screen (the default) each time it is shown,
    // or at a position of the window's top left corner.
    bool centred() const { return !position_; }
    void set_centred();
    Point position() const;
    void set_position(int left, int top);
    int left() const { return position().x; }
    int top() const { return position().y; }

    Border border() const { return border_; }
    void set_border(Border border);

    // Background colour; none means the system's window face colour.
    std::optional<Color> color() const { return color_; }
    void set_color(Color color);

    bool stay_on_top() const { return stay_on_top_; }
    void set_stay_on_top(bool on_top);

    // Opacity 0..255, used while alpha blending is on.
    int alpha() const { return alpha_; }
    void set_alpha(int alpha);
    bool alpha_blend() const { return alpha_blend_; }
    void set_alpha_blend(bool blend);

    // The font every control inherits unless it has its own.
    const Font& font() const { return font_; }
    void set_font(const Font& font);

    bool visible() const { return visible_; }
    bool active() const;
    bool modal() const { return modal_; }

    void show();
    void hide();
    void close();
    void show_modal();
    // Brings a shown window to the front and makes it the active one.
    void activate();

    std::function<void()> on_show;
    std::function<void()> on_activate;
    std::function<void()> on_deactivate;
    std::function<void()> on_close;
    // Asked first when the window is to close; false keeps it open (a window
    // whose search still runs stops the search and closes when it ends).
    std::function<bool()> on_close_query;
    std::function<void()> on_hide;

    // The backend's side.
    FormPeer* peer() const { return peer_.get(); }
    void attach(std::unique_ptr<FormPeer> peer);
    // The backend reports that this window became the program's active one.
    void activated();
    // Makes the backend's window now (it is otherwise made when first shown).
    void realize();

private:
    friend class Toolkit;
    void notify(FormAspect aspect) const {
        if (peer_) peer_->changed(aspect);
    }
    void deactivated();

    Toolkit& toolkit_;
    std::string name_;
    std::string caption_;
    Size client_{400, 300};
    std::optional<Point> position_;
    Border border_ = Border::single;
    std::optional<Color> color_;
    bool stay_on_top_ = false;
    int alpha_ = 255;
    bool alpha_blend_ = false;
    Font font_;
    bool visible_ = false;
    bool modal_ = false;
    bool closing_ = false;
    std::unique_ptr<FormPeer> peer_;
};

}  // namespace ui
