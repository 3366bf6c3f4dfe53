#pragma once
// What every result window shares: it owns its findings (the list shows them
// by index), the life of its search (Stop, a busy state in which the other
// commands are ignored, a close during the walk that stops the walk first and
// then closes), and the deletion loop, which drops the findings it removed,
// with their rows, in one pass when it ends.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/pump.h"
#include "platform/status.h"
#include "search/folders.h"
#include "search/guards.h"
#include "search/walk_progress.h"
#include "ui/ui.h"

namespace search {

// A file walk shown on a result window: the bar counts the walk folders, the
// line names the folder being walked (empty when there is none at all).
class ShownWalk : public WalkProgress {
public:
    ShownWalk(ui::ProgressBar& bar, ui::Label& line) : bar_(bar), line_(line) {}
    void walk_started(std::size_t count, const std::string& first) override {
        bar_.set_maximum(static_cast<int>(count));
        line_.set_text(first);
    }
    void walking(std::size_t index, const std::string& folder) override {
        bar_.set_position(static_cast<int>(index) + 1);
        line_.set_text(folder);
    }

private:
    ui::ProgressBar& bar_;
    ui::Label& line_;
};

template <class Finding>
class ResultsWindow : public ui::Form {
public:
    const std::vector<Finding>& findings() const { return findings_; }
    bool busy() const { return busy_; }
    // The number of findings the last search kept.
    std::size_t found_total() const { return found_; }

protected:
    // `main` is shown again when this window closes; `list` shows the findings.
    ResultsWindow(ui::Toolkit& toolkit, std::string name, ui::Form& main, ui::ListControl& list)
        : ui::Form(toolkit, std::move(name)), main_(main), list_(list) {
        on_close_query = [this] { return close_asked(); };
        on_close = [this] { main_.show(); };
    }

    // The top of the window, across its client width: the bold step caption
    // with the stop button at its right (hidden until a search runs), the
    // blue current-item line in its frame, the progress bar under them.
    void lay_out_top(ui::Label& step, ui::Button& stop, ui::Bevel& frame, ui::Label& current, ui::ProgressBar& bar) {
        const int inner = client_width() - 24;
        step.set_auto_size(false);
        step.set_bounds(12, 14, inner - 112, 16);
        step.set_bold(true);
        stop.set_bounds(12 + inner - 104, 8, 104, 26);
        stop.hide();
        frame.set_shape(ui::Bevel::Shape::frame);
        frame.set_bounds(12, 40, inner, 24);
        current.set_auto_size(false);
        current.set_bounds(18, 44, inner - 12, 16);
        current.set_text_color(ui::colors::blue);
        bar.set_bounds(12, 72, inner, 16);
    }

    // Runs a search: busy, the stop request cleared. False when the window was
    // closed meanwhile: the walk has unwound and nothing more may be shown.
    bool run_search(const std::function<void()>& search) {
        stop_request_.clear();
        const bool went_on = run_busy(search);
        return went_on;
    }

    // The findings of a search, shown as rows (`row` gives a finding's cells).
    void show_findings(std::vector<Finding> findings, const std::function<std::vector<std::string>(const Finding&)>& row) {
        findings_ = std::move(findings);
        found_ = findings_.size();
        list_.clear();
        list_.begin_update();
        for (const auto& f : findings_) list_.add(row(f));
        list_.end_update();
    }

    // A handler for a command that is ignored while a search or a deletion runs.
    std::function<void()> command(std::function<void()> action) {
        return [this, action = std::move(action)] {
            if (!busy_) action();
        };
    }

    struct Deletion {
        std::size_t deleted = 0;
        std::size_t failed = 0;
        bool closed = false;  // the window was closed meanwhile
    };

    // Deletes, from the last finding to the first, each one `wanted` picks:
    // `remove` returns how it went; a finding whose removal succeeded leaves
    // the findings and the list, a failed one stays. `step` runs before each
    // finding (a progress bar); the queue is served between them. The rows
    // keep their places until the loop ends (a stop or a close included), so
    // an index stays valid across the messages served, and removing k of n
    // rows moves each later row once, not k times.
    Deletion delete_findings(const std::function<bool(std::size_t)>& wanted,
                             const std::function<platform::Status(const Finding&)>& remove,
                             const std::function<void()>& step = {}) {
        Deletion outcome;
        stop_request_.clear();
        outcome.closed = !run_busy([&] {
            std::vector<bool> removed(findings_.size());
            for (std::size_t i = findings_.size(); i-- > 0;) {
                pump().serve();
                if (stop_request_.requested()) break;
                if (step) step();
                if (!wanted(i)) continue;
                if (remove(findings_[i]).ok()) {
                    removed[i] = true;
                    ++outcome.deleted;
                } else {
                    ++outcome.failed;
                }
            }
            if (outcome.deleted > 0) erase_rows(removed);
        });
        return outcome;
    }

    // One finding, for a window that changes a part of it (not its row).
    Finding& finding(std::size_t index) { return findings_[index]; }

    // Where one deletion sends each file.
    class DeletionPlan {
    public:
        DeletionPlan(RecycleBinRules bin, bool to_bin) : bin_(std::move(bin)), to_bin_(to_bin) {}
        // Deletes the file on `path` by `deletion` (given true: to the bin):
        // to the bin when the user asked for it and the bin takes the file;
        // else for good, unless the user asked for the bin and refused that
        // (the file stays, a failure).
        platform::Status remove(const std::string& path,
                                const std::function<platform::Status(bool to_bin)>& deletion) {
            if (!to_bin_) return deletion(false);
            if (bin_.takes(path)) return deletion(true);
            if (refused_) return platform::Status::failure("Удаление отменено");
            return deletion(false);
        }
        // The user kept the files the bin would not take.
        bool refused() const { return refused_; }

    private:
        friend class ResultsWindow;
        RecycleBinRules bin_;
        bool to_bin_;
        bool refused_ = false;
    };

    // The plan of a deletion of the findings `wanted` picks, to the recycle
    // bin or not (`to_bin`): when the bin would not keep some of them (a
    // drive without one, a bin switched off, a file larger than the bin),
    // `question` is asked once, before anything is deleted for good. The
    // bin's settings are read once for the whole deletion.
    DeletionPlan plan_deletion(platform::Platform& platform, bool to_bin, const std::function<bool(std::size_t)>& wanted,
                               const char* question) {
        DeletionPlan plan(RecycleBinRules(platform.fs, platform.registry), to_bin);
        if (!to_bin) return plan;
        for (std::size_t i = 0; i < findings_.size(); ++i) {
            if (!wanted(i) || plan.bin_.takes(findings_[i].path)) continue;
            plan.refused_ = dialogs().message(question, "Удаление", ui::Icon::question, ui::Buttons::yes_no) !=
                            ui::Answer::yes;
            break;
        }
        return plan;
    }

    // Removes one finding and its row.
    void erase(std::size_t index) {
        findings_.erase(findings_.begin() + static_cast<std::ptrdiff_t>(index));
        list_.remove(static_cast<int>(index));
    }
    // Removes the findings `doomed` picks, with their rows.
    void erase_if(const std::function<bool(const Finding&)>& doomed) {
        std::vector<bool> rows(findings_.size());
        for (std::size_t i = 0; i < findings_.size(); ++i) rows[i] = doomed(findings_[i]);
        erase_rows(rows);
    }
    // Removes the findings whose path names nothing any more (or nothing
    // that `kept` accepts, by its attributes), with their rows.
    void erase_gone(platform::FileSystem& fs, const std::function<bool(std::uint32_t)>& kept = {}) {
        std::vector<std::string> paths;
        paths.reserve(findings_.size());
        for (const auto& f : findings_) paths.push_back(f.path);
        const auto listed = listed_attributes(fs, paths);
        std::vector<bool> gone(findings_.size());
        for (std::size_t i = 0; i < gone.size(); ++i) gone[i] = !listed[i] || (kept && !kept(*listed[i]));
        erase_rows(gone);
    }
    // Removes, in one pass, the findings whose flag is set, with their rows.
    void erase_rows(const std::vector<bool>& doomed) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < findings_.size(); ++i) {
            if (i < doomed.size() && doomed[i]) continue;
            if (kept != i) findings_[kept] = std::move(findings_[i]);
            ++kept;
        }
        findings_.erase(findings_.begin() + static_cast<std::ptrdiff_t>(kept), findings_.end());
        list_.remove_rows(doomed);
    }

    platform::StopRequest stop_request_;

private:
    // Runs `work` busy; false when a close arrived meanwhile (the window is
    // then closed, after the work has unwound). A close stays a close when
    // the work ends with an exception: the window closes first, so that the
    // error is reported over the main window.
    bool run_busy(const std::function<void()>& work) {
        if (busy_) return true;
        busy_ = true;
        struct Idle {
            ResultsWindow& window;
            ~Idle() { window.close_if_pending(); }
        } idle{*this};
        work();
        return !close_pending_;
    }
    void close_if_pending() {
        busy_ = false;
        if (!close_pending_) return;
        close_pending_ = false;
        close();
    }

    bool close_asked() {
        if (!busy_) return true;
        stop_request_.request();
        close_pending_ = true;
        return false;
    }

    ui::Form& main_;
    ui::ListControl& list_;
    std::vector<Finding> findings_;
    std::size_t found_ = 0;
    bool busy_ = false;
    bool close_pending_ = false;
};

}  // namespace search
