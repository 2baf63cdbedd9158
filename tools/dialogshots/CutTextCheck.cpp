#include "CutTextCheck.h"

#include "ImageButton.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>


namespace {
QString nameOf(const QWidget *widget)
{
    const QString name = widget->objectName();
    return QStringLiteral("%1 %2").arg(QLatin1String(widget->metaObject()->className()),
        name.isEmpty() ? QStringLiteral("(unnamed)") : name);
}

QString shortened(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.size() > 60 ? text.left(57) + QStringLiteral("...") : text;
}

QString finding(const QWidget *widget, const QString &text, QSize needed, QSize has)
{
    return QStringLiteral("%1: \"%2\" needs %3x%4, has %5x%6")
        .arg(nameOf(widget), shortened(text))
        .arg(needed.width())
        .arg(needed.height())
        .arg(has.width())
        .arg(has.height());
}

bool insideScrollArea(const QWidget *widget, const QWidget *window)
{
    for (const QWidget *up = widget->parentWidget(); up && up != window; up = up->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea *>(up))
            return true;
    }
    return false;
}

// What the label's text needs, asked of a fresh QLabel with the same text and
// font: no size cache, no fixed or minimum size in the way.
void checkLabel(const QLabel *label, QStringList &out)
{
    if (label->text().isEmpty())
        return;
    QLabel probe;
    probe.setFont(label->font());
    probe.setTextFormat(label->textFormat());
    probe.setAlignment(label->alignment());
    probe.setWordWrap(label->wordWrap());
    probe.setMargin(label->margin());
    probe.setIndent(label->indent());
    probe.setContentsMargins(label->contentsMargins());
    probe.setFrameStyle(label->frameStyle());
    probe.setLineWidth(label->lineWidth());
    probe.setText(label->text());
    QSize needed = probe.sizeHint();
    if (label->wordWrap())
        needed = QSize(probe.minimumSizeHint().width(), probe.heightForWidth(label->width()));
    if (needed.width() > label->width() || needed.height() > label->height())
        out << finding(label, label->text(), needed, label->size());
}

void checkButton(const QAbstractButton *button, QStringList &out)
{
    if (button->text().isEmpty())
        return;
    const QSize text = button->fontMetrics().size(::Qt::TextShowMnemonic, button->text());
    int needed = text.width();
    if (!button->icon().isNull())
        needed += button->iconSize().width() + 4;
    // A picture button draws its text over the whole face; a styled one keeps
    // the style's margins inside its frame.
    const auto *pictured = qobject_cast<const UtilsLib::ImageButton *>(button);
    if ((!pictured || pictured->enabledImage().isNull())
        && qobject_cast<const QPushButton *>(button)) {
        const QStyle *style = button->style();
        needed += style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button)
            + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    }
    if (needed > button->width() || text.height() > button->height())
        out << finding(
            button, button->text(), QSize(needed, text.height()), button->size());
}

void checkHeader(const QHeaderView *header, QStringList &out)
{
    const QAbstractItemModel *model = header->model();
    if (!model)
        return;
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int room = header->orientation() == ::Qt::Horizontal ? header->viewport()->width()
                                                               : header->viewport()->height();
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section))
            continue;
        const QString text
            = model->headerData(section, header->orientation(), ::Qt::DisplayRole).toString();
        if (text.isEmpty())
            continue;
        QFont font = header->font();
        const QVariant headerFont = model->headerData(section, header->orientation(), ::Qt::FontRole);
        if (headerFont.canConvert<QFont>())
            font = headerFont.value<QFont>();
        const int needed = QFontMetrics(font).horizontalAdvance(text) + 2 * margin;
        const int has = qMin(header->sectionSize(section),
            room - header->sectionViewportPosition(section));
        if (header->orientation() == ::Qt::Horizontal && needed > has)
            out << finding(
                header, text, QSize(needed, header->height()), QSize(has, header->height()));
    }
}

void checkItems(const QAbstractItemView *view, const QModelIndex &parent, QStringList &out)
{
    const QAbstractItemModel *model = view->model();
    const int margin
        = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const int room = view->viewport()->width();
    for (int row = 0; row < model->rowCount(parent); ++row) {
        for (int column = 0; column < model->columnCount(parent); ++column) {
            const QModelIndex index = model->index(row, column, parent);
            const QString text = index.data(::Qt::DisplayRole).toString();
            const QRect cell = view->visualRect(index);
            if (text.isEmpty() || cell.isEmpty())
                continue;
            QFont font = view->font();
            if (const QVariant itemFont = index.data(::Qt::FontRole); itemFont.canConvert<QFont>())
                font = itemFont.value<QFont>();
            int needed = QFontMetrics(font).horizontalAdvance(text) + 2 * margin;
            if (!index.data(::Qt::DecorationRole).isNull())
                needed += view->iconSize().width() + 2 * margin;
            const int has = qMin(cell.width(), room - cell.x());
            if (needed > has)
                out << finding(view, text, QSize(needed, cell.height()), QSize(has, cell.height()));
        }
        checkItems(view, model->index(row, 0, parent), out);
    }
}
} // namespace

QStringList CutTextCheck::findings(const QWidget *window, const QRect &screen)
{
    QStringList out;
    if (!screen.isEmpty() && !screen.contains(window->frameGeometry()))
        out << QStringLiteral("%1: %2x%3 at %4,%5 reaches past the screen %6x%7")
                   .arg(nameOf(window))
                   .arg(window->frameGeometry().width())
                   .arg(window->frameGeometry().height())
                   .arg(window->frameGeometry().x())
                   .arg(window->frameGeometry().y())
                   .arg(screen.width())
                   .arg(screen.height());
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (const QWidget *widget : widgets) {
        if (!widget->isVisibleTo(window) || widget->isWindow())
            continue;
        // What reaches past its parent is cut off there (a scroll area's
        // contents are meant to).
        if (!insideScrollArea(widget, window)
            && !widget->parentWidget()->rect().contains(widget->geometry()))
            out << QStringLiteral("%1: %2x%3 at %4,%5 reaches past %6 (%7x%8)")
                       .arg(nameOf(widget))
                       .arg(widget->width())
                       .arg(widget->height())
                       .arg(widget->x())
                       .arg(widget->y())
                       .arg(nameOf(widget->parentWidget()))
                       .arg(widget->parentWidget()->width())
                       .arg(widget->parentWidget()->height());
        if (const auto *label = qobject_cast<const QLabel *>(widget))
            checkLabel(label, out);
        else if (const auto *header = qobject_cast<const QHeaderView *>(widget))
            checkHeader(header, out);
        else if (const auto *view = qobject_cast<const QAbstractItemView *>(widget))
            checkItems(view, view->rootIndex(), out);
        else if (qobject_cast<const QPushButton *>(widget) || qobject_cast<const QToolButton *>(widget))
            checkButton(static_cast<const QAbstractButton *>(widget), out);
    }
    return out;
}
