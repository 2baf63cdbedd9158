#include "QustomLineEdit.h"

#include <QKeyEvent>

QustomLineEdit::QustomLineEdit(QWidget *parent, const char *, ::Qt::WindowFlags flags)
    : QLineEdit(parent)
{
    if (flags)
        setWindowFlags(flags);
    setAcceptDrops(false);
}

void QustomLineEdit::paste() { }

void QustomLineEdit::keyPressEvent(QKeyEvent *event)
{
    // QLineEdit pastes on its own for these, bypassing paste().
    if (event->matches(QKeySequence::Paste)
        || (event->key() == ::Qt::Key_Insert && event->modifiers() == ::Qt::ShiftModifier)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void QustomLineEdit::mouseReleaseEvent(QMouseEvent *event)
{
    // No paste of the X11 selection with the middle button either.
    if (event->button() == ::Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void QustomLineEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // The standard menu offers Paste.
    event->accept();
}

void QustomLineEdit::dropEvent(QDropEvent *event)
{
    event->ignore();
}
