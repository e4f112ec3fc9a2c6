#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>

class MainTab;
class QTabWidget;

// The window: the main tab, the firmware update tab and the About tab.
class TabDialog : public QDialog {
    Q_OBJECT

public:
    explicit TabDialog(QWidget* parent);

    QTabWidget* tabs() const { return m_tabs; }
    MainTab* mainTab() const;

    // The window title's build date, as "Jun 18 2019".
    static QString buildDate();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A ROM file dropped on the window is judged as Verify file... does.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // A size whose log shows kLogLines lines, for a first run, as far as the
    // screen allows, in the middle of the screen.
    void default_size();
    // A remembered place that lies off every screen (another monitor) comes back.
    void bring_onto_screen();
    // Whether the window may close; a running job is cancelled and waited for
    // when the user agrees.
    bool mayClose();

    QTabWidget* m_tabs;
};

// Lines of log a first run's window shows, and their width in characters.
inline constexpr int kLogLines = 26;
inline constexpr int kLogColumns = 78;

// What a window manager's frame may add around the window.
inline constexpr QSize kFrameAllowance(16, 40);

// A window's geometry wanted, made to fit the screen's available area with
// its frame: no larger, and moved onto it where it lies off it.
QRect fit_on_screen(const QRect& wanted, const QRect& available, const QSize& frame);
