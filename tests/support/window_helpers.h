// Driving the real widgets from a test: answering dialogs and waiting for the log.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <functional>

namespace testing_support {

// Processes events until done() holds, asking again after each event that
// arrives; false when ms passed first.
inline bool wait_for(const std::function<bool()>& done, int ms = 30000) {
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(ms);
    while (!done()) {
        if (!deadline.isActive()) return false;
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// An answer waiting for its dialog. One that no dialog took by the time the
// object goes is withdrawn, so that it never answers a later dialog.
class [[nodiscard]] DialogAnswer {
public:
    explicit DialogAnswer(QTimer* timer) : m_timer(timer) {}
    DialogAnswer(DialogAnswer&& other) noexcept : m_timer(other.m_timer) {
        other.m_timer = nullptr;
    }
    ~DialogAnswer() { delete m_timer.data(); }
    // Whether a dialog took the answer.
    bool taken() const { return m_timer.isNull(); }

private:
    QPointer<QTimer> m_timer;
};

// Answers the next modal dialog of type T with act once it shows.
template <typename T>
DialogAnswer answer_next(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start(10);
    return DialogAnswer(timer);
}

// Answers the next file dialog with path; an empty path cancels it.
inline DialogAnswer answer_file_dialog(const QString& path) {
    return answer_next<QFileDialog>([path](QFileDialog* dialog) {
        if (path.isEmpty()) return dialog->reject();
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        // Typed into the name field, as a user would.
        if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
        static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
    });
}

inline DialogAnswer answer_message_box(QMessageBox::StandardButton button) {
    return answer_next<QMessageBox>([button](QMessageBox* box) { box->button(button)->click(); });
}

inline QStringList lines_of(const QTextEdit* log) {
    return log->toPlainText().split(QLatin1Char('\n'));
}

}  // namespace testing_support
