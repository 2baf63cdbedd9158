#include "JobConfirmationDialogView.h"

#include "JobConfirmationDialogController.h"
#include "PrintClientImages.h"

#include <QBitmap>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

const char *const JobConfirmationDialogView::CONTEXT = "JobConfirmationDialogView";
const char *const JobConfirmationDialogView::ReleaseTerminalText
    = QT_TRANSLATE_NOOP("JobConfirmationDialogView", "Release Terminal");
const char *const JobConfirmationDialogView::LocationText
    = QT_TRANSLATE_NOOP("JobConfirmationDialogView", "Location");
const char *const JobConfirmationDialogView::PickupListName
    = QT_TRANSLATE_NOOP("JobConfirmationDialogView", "Pickup Locations");
const char *const JobConfirmationDialogView::PictureName
    = QT_TRANSLATE_NOOP("JobConfirmationDialogView", "Job received");

namespace {
constexpr int LabelMinimumWidth = 200;
} // namespace

JobConfirmationDialogView::JobConfirmationDialogView(QWidget *parent)
    : TsBaseDialog(parent, 0, true, true, 5, TsBaseDialog::titledWindowFlags())
{
    setObjectName(QStringLiteral("JobConfirmationDialogView"));

    QPixmap printOk = PrintClientImages::printOk();
    if (!printOk.hasAlphaChannel())
        printOk.setMask(printOk.createHeuristicMask());
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("PrintOK"));
    m_picture->setPixmap(printOk);
    m_picture->setFixedSize(m_picture->sizeHint());
    m_picture->setAlignment(::Qt::AlignTop);

    m_confirmationLabel = new QLabel(this);
    m_confirmationLabel->setObjectName(QStringLiteral("ConfirmationLabel"));
    m_confirmationLabel->setWordWrap(true);
    m_confirmationLabel->setAlignment(::Qt::AlignTop | ::Qt::AlignLeft);
    m_confirmationLabel->setMinimumWidth(LabelMinimumWidth);
    m_jobNumberLabel = new QLabel(this);
    m_jobNumberLabel->setObjectName(QStringLiteral("JobNumberLabel"));
    m_jobNumberLabel->setMinimumWidth(LabelMinimumWidth);
    m_expireTimeLabel = new QLabel(this);
    m_expireTimeLabel->setObjectName(QStringLiteral("ExpireTimeLabel"));
    m_expireTimeLabel->setMinimumWidth(LabelMinimumWidth);
    // Terminal and location names come from the Print Service.
    for (QLabel *label : {m_confirmationLabel, m_jobNumberLabel, m_expireTimeLabel})
        label->setTextFormat(::Qt::PlainText);

    m_okButton = new QPushButton(this);
    m_okButton->setObjectName(QStringLiteral("userIdDialog_OkBtn"));
    m_okButton->setEnabled(true);
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    m_pickupList = new QTreeWidget(this);
    m_pickupList->setObjectName(QStringLiteral("PickupListView"));
    m_pickupList->setColumnCount(2);
    m_pickupList->setRootIsDecorated(false);
    m_pickupList->setSortingEnabled(false);
    m_pickupList->setSelectionMode(QAbstractItemView::NoSelection);
    m_pickupList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pickupList->header()->setSectionsMovable(false);
    // The terminal column as wide as its names, the location takes the rest.
    m_pickupList->header()->setSectionResizeMode(QHeaderView::Stretch);
    m_pickupList->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(0);
    texts->addWidget(m_confirmationLabel, 1);
    texts->addSpacing(5);
    texts->addWidget(m_jobNumberLabel);
    texts->addSpacing(5);
    texts->addWidget(m_expireTimeLabel);
    texts->addSpacing(5);

    auto *buttons = new QVBoxLayout;
    buttons->setAlignment(::Qt::AlignTop);
    buttons->addWidget(m_okButton);

    auto *top = new QHBoxLayout;
    top->setSpacing(0);
    top->addWidget(m_picture, 0, ::Qt::AlignTop);
    top->addSpacing(15);
    top->addLayout(texts, 1);
    top->addSpacing(15);
    top->addLayout(buttons);

    auto *content = new QVBoxLayout;
    content->setSpacing(0);
    content->addLayout(top);
    content->addSpacing(10);
    content->addWidget(m_pickupList);
    setMainLayout(content);

    m_okButton->setFocus();
    activateWindow();
}

void JobConfirmationDialogView::setController(JobConfirmationDialogController *controller)
{
    m_controller = controller;
    redrawText();
}

void JobConfirmationDialogView::redrawText()
{
    // The view's own names for the screen reader; the rest is the controller's.
    m_pickupList->setAccessibleName(QCoreApplication::translate(CONTEXT, PickupListName));
    m_picture->setAccessibleName(QCoreApplication::translate(CONTEXT, PictureName));
    if (m_controller)
        m_controller->updateView();
}

void JobConfirmationDialogView::setConfirmationText(const QString &text)
{
    m_confirmationLabel->setText(text);
    m_confirmationLabel->setAccessibleName(text);
}

QString JobConfirmationDialogView::confirmationText() const
{
    return m_confirmationLabel->text();
}

void JobConfirmationDialogView::setJobNumberText(const QString &text)
{
    m_jobNumberLabel->setText(text);
    m_jobNumberLabel->setAccessibleName(text);
}

QString JobConfirmationDialogView::jobNumberText() const
{
    return m_jobNumberLabel->text();
}

void JobConfirmationDialogView::setExpireTimeText(const QString &text)
{
    m_expireTimeLabel->setText(text);
    m_expireTimeLabel->setAccessibleName(text);
}

QString JobConfirmationDialogView::expireTimeText() const
{
    return m_expireTimeLabel->text();
}

void JobConfirmationDialogView::setExpireTimeVisible(bool visible)
{
    m_expireTimeLabel->setVisible(visible);
}

void JobConfirmationDialogView::setColumnText(int column, const QString &text)
{
    if (column >= 0 && column < m_pickupList->columnCount()) {
        m_pickupList->headerItem()->setText(column, text);
        fitPickupList();
    }
}

void JobConfirmationDialogView::clearPickupLocations()
{
    m_pickupList->clear();
}

void JobConfirmationDialogView::addPickupLocation(const QString &terminal, const QString &location)
{
    new QTreeWidgetItem(m_pickupList, QStringList {terminal, location});
    fitPickupList();
}

// The list is as wide as its longest names and headers, so the dialog grows
// with them instead of cutting them off.
void JobConfirmationDialogView::fitPickupList()
{
    const QFontMetrics metrics(m_pickupList->font());
    const int margin
        = 2 * (m_pickupList->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_pickupList) + 1);
    int width = 2 * m_pickupList->frameWidth()
        + m_pickupList->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_pickupList);
    for (int column = 0; column < m_pickupList->columnCount(); ++column) {
        int widest = m_pickupList->header()->sectionSizeHint(column);
        for (int row = 0; row < m_pickupList->topLevelItemCount(); ++row)
            widest = qMax(widest,
                metrics.horizontalAdvance(m_pickupList->topLevelItem(row)->text(column)) + margin);
        width += widest;
    }
    m_pickupList->setMinimumWidth(width);
}

void JobConfirmationDialogView::setOkButtonText(const QString &text)
{
    m_okButton->setText(text);
    m_okButton->setAccessibleName(text);
}

void JobConfirmationDialogView::keyPressEvent(QKeyEvent *event)
{
    // The confirmation asks nothing: Return closes it like OK, wherever the focus is.
    if (event->key() == ::Qt::Key_Return || event->key() == ::Qt::Key_Enter) {
        restartTimerOnActivity();
        accept();
        return;
    }
    TsBaseDialog::keyPressEvent(event);
}
