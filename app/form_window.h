#pragma once

#include <QWidget>

namespace velandri {

// What the three windows share: a load step that runs once, at the first showing; activation
// reported to Form_Activate; and a close request that runs Form_QueryUnload, unless the window
// is being unloaded as part of the program's end. The windows know nothing of each other:
// what one cannot do itself it asks for through a signal.
class FormWindow : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Runs the load step unless it has run.
    void Load();
    // Shows the window modeless and active, loading it first. Asked again while its load runs
    // (events are processed inside it), it waits for the load, which ends in the showing.
    void Show();
    // Closes the window as part of the program's end, without asking.
    void Unload();
    bool isLoading() const { return loading_; }
    bool isLoaded() const { return loaded_ && !loading_; }

    virtual void Form_Load() = 0;
    virtual void Form_Activate() = 0;
    virtual void Form_QueryUnload() = 0;

signals:
    void loadFinished();
    // The user ended the program from this window: every window is unloaded.
    void endRequested();

protected:
    bool event(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // What the window system's close request does: the main window refuses it; the settings
    // window runs Form_QueryUnload, which hides it and leaves the program running; the password
    // window's Form_QueryUnload ends the program, which unloads it.
    enum class CloseRequest { Refused, QueryUnload, EndsProgram };
    virtual CloseRequest closeRequest() const { return CloseRequest::EndsProgram; }

private:
    bool loaded_ = false;
    bool loading_ = false;
    bool unloading_ = false;
};

}  // namespace velandri
