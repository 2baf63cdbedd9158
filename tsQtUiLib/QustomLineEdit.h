#pragma once

#include <QLineEdit>

// A line edit that refuses pasting, for identification fields.
class QustomLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit QustomLineEdit(
        QWidget *parent = nullptr, const char *name = nullptr, ::Qt::WindowFlags flags = {});

public slots:
    void paste();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
