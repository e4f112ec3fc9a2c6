#pragma once

#include <QDialog>

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

private:
    // Whether the window may close; a running job is cancelled and waited for
    // when the user agrees.
    bool mayClose();

    QTabWidget* m_tabs;
};

// Installs the first translation found beside the program ("zelvo3_chs.qm",
// then "zelvo3_jpn.qm"); the path installed, or an empty string.
class QTranslator;
QString install_translation(QTranslator& translator, const QString& directory);
