// Driving the real widgets from a test: answering dialogs and waiting for the log.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <functional>

namespace testing_support {

// Waits, processing events, until done() holds or ms have passed.
inline bool wait_for(const std::function<bool()>& done, int ms = 30000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return true;
}

// Answers the next modal dialog of type T with act once it shows.
template <typename T>
void answer_next(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start(10);
}

// Answers the next file dialog with path; an empty path cancels it.
inline void answer_file_dialog(const QString& path) {
    answer_next<QFileDialog>([path](QFileDialog* dialog) {
        if (path.isEmpty()) return dialog->reject();
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        // Typed into the name field, as a user would.
        if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
        static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
    });
}

inline void answer_message_box(QMessageBox::StandardButton button) {
    answer_next<QMessageBox>([button](QMessageBox* box) { box->button(button)->click(); });
}

inline QStringList lines_of(const QTextEdit* log) {
    return log->toPlainText().split(QLatin1Char('\n'));
}

}  // namespace testing_support
