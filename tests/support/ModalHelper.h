#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs action on the modal dialog as soon as one is up (for code that calls
// exec()). The poll gives up after a few seconds so a test cannot hang.
inline void whenModal(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action, tries] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && ++*tries < 1000)
            return;
        timer->stop();
        timer->deleteLater();
        if (modal)
            action(modal);
    });
    timer->start();
}

inline bool noVisibleWindows()
{
    const auto windows = QApplication::topLevelWidgets();
    return std::none_of(
        windows.cbegin(), windows.cend(), [](const QWidget *w) { return w->isVisible(); });
}
