#include "AccountInfoDialogView.h"

#include "AccountInfoDialogController.h"
#include "PrintClientImages.h"
#include "TsCurrency.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
const char *const CAPTION_TEXT = QT_TRANSLATE_NOOP("AccountInfoDialogView", "Account Information");
const char *const MAX_DEPOSIT_TEXT
    = QT_TRANSLATE_NOOP("AccountInfoDialogView", "Max Deposit Balance");
const char *const MAX_CREDIT_TEXT
    = QT_TRANSLATE_NOOP("AccountInfoDialogView", "Max Credit Balance");
const char *const ALLOCATION_TEXT
    = QT_TRANSLATE_NOOP("AccountInfoDialogView", "Allocation Balance");
const char *const LIBRARY_DEPOSIT_TEXT
    = QT_TRANSLATE_NOOP("AccountInfoDialogView", "Library Deposit Balance");
const char *const OK_TEXT = QT_TRANSLATE_NOOP("AccountInfoDialogView", "OK");

constexpr int BLOCK_GAP = 20;

// A label and its value read as one line to a screen reader.
void setText(QLabel *label, const QString &text, QLabel *value)
{
    if (!label)
        return;
    label->setText(text);
    label->setAccessibleName(text);
    if (value)
        value->setAccessibleName(text);
}
} // namespace

AccountInfoDialogView::AccountInfoDialogView(
    QWidget *parent, AccountInfoDialogController *controller)
    : TsBaseDialog(parent, 0, true, true, 5, titledWindowFlags())
    , m_controller(controller)
{
    setObjectName(QStringLiteral("AccountInfoDialogView"));
    auto *content = new QVBoxLayout;
    auto *grid = new QGridLayout;
    grid->setSpacing(2);
    grid->setColumnMinimumWidth(1, 10);
    grid->setColumnMinimumWidth(2, 250);
    content->addLayout(grid);

    // Each block is separated from the one before it, whichever blocks exist.
    bool blockBefore = false;
    auto gapBefore = [&](int row) {
        if (blockBefore)
            grid->setRowMinimumHeight(row, BLOCK_GAP);
        blockBefore = true;
    };

    if (m_controller->hasDepositInfo()) {
        gapBefore(-1);
        addPicture(grid, m_controller->depositImageName(), 0, 2, QStringLiteral("depositImage"));
        m_currentDepositText = addText(grid, 0, QStringLiteral("currentDepositText"));
        m_depositValue = addValue(
            grid, 0, m_controller->currentDepositBalance(), QStringLiteral("depositValue"));
        m_maxDepositText = addText(grid, 1, QStringLiteral("maxDepositText"));
        m_maxDepositValue = addValue(
            grid, 1, m_controller->maxDepositBalance(), QStringLiteral("maxDepositValue"));
    }
    if (m_controller->hasCreditInfo()) {
        gapBefore(2);
        addPicture(grid, m_controller->creditImageName(), 3, 2, QStringLiteral("creditImage"));
        m_currentCreditText = addText(grid, 3, QStringLiteral("currentCreditText"));
        m_creditValue = addValue(
            grid, 3, m_controller->currentCreditBalance(), QStringLiteral("creditValue"));
        m_maxCreditText = addText(grid, 4, QStringLiteral("maxCreditText"));
        m_maxCreditValue
            = addValue(grid, 4, m_controller->maxCreditBalance(), QStringLiteral("maxCreditValue"));
    }
    if (m_controller->hasAllocationInfo()) {
        gapBefore(5);
        addPicture(grid, QString(), 6, 1, QStringLiteral("allocationImage"))
            ->setPixmap(PrintClientImages::allocation());
        m_allocationText = addText(grid, 6, QStringLiteral("allocationText"));
        m_allocationValue = addValue(
            grid, 6, m_controller->allocationBalance(), QStringLiteral("allocationValue"));
    }
    if (m_controller->hasLibraryDepositInfo()) {
        gapBefore(8);
        addPicture(grid, QString(), 9, 1, QStringLiteral("libraryDepositImage"))
            ->setPixmap(PrintClientImages::libraryDeposit());
        m_libraryDepositText = addText(grid, 9, QStringLiteral("libraryDepositText"));
        m_libraryDepositValue = addValue(
            grid, 9, m_controller->libraryDepositBalance(), QStringLiteral("libraryDepositValue"));
    }

    content->addSpacing(10);
    m_okButton = new QPushButton(this);
    m_okButton->setObjectName(QStringLiteral("allocationInfoDialog_okButton"));
    m_okButton->setDefault(true);
    m_okButton->setMinimumWidth(80);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    content->addWidget(m_okButton, 0, ::Qt::AlignCenter);
    m_okButton->setFocus();

    activateWindow();
    redrawText();
    setMainLayout(content);
}

QLabel *AccountInfoDialogView::addPicture(
    QGridLayout *grid, const QString &imageName, int row, int rowSpan, const QString &objectName)
{
    auto *picture = new QLabel(this);
    picture->setObjectName(objectName);
    if (!imageName.isEmpty())
        picture->setPixmap(PrintClientImages::findImage(imageName));
    picture->setAlignment(::Qt::AlignTop | ::Qt::AlignLeft);
    grid->addWidget(picture, row, 0, rowSpan, 1, ::Qt::AlignTop);
    return picture;
}

QLabel *AccountInfoDialogView::addText(QGridLayout *grid, int row, const QString &objectName)
{
    auto *label = new QLabel(this);
    label->setObjectName(objectName);
    label->setTextFormat(::Qt::PlainText);
    label->setMinimumWidth(250);
    grid->addWidget(label, row, 2, ::Qt::AlignLeft | ::Qt::AlignVCenter);
    return label;
}

QLabel *AccountInfoDialogView::addValue(
    QGridLayout *grid, int row, const QString &value, const QString &objectName)
{
    auto *label = new QLabel(this);
    label->setObjectName(objectName);
    // The session keeps its amounts as the Print Service wrote them (a character
    // reference for the symbol): shown as their characters, never as markup.
    label->setTextFormat(::Qt::PlainText);
    label->setText(TsCurrency::decodeAmount(value));
    label->setAlignment(::Qt::AlignRight | ::Qt::AlignVCenter);
    grid->addWidget(label, row, 3, ::Qt::AlignRight | ::Qt::AlignVCenter);
    return label;
}

void AccountInfoDialogView::redrawText()
{
    setWindowTitle(tr(CAPTION_TEXT));
    setText(m_currentDepositText, m_controller->depositBalanceText(), m_depositValue);
    setText(m_maxDepositText, tr(MAX_DEPOSIT_TEXT), m_maxDepositValue);
    setText(m_currentCreditText, m_controller->creditBalanceText(), m_creditValue);
    setText(m_maxCreditText, tr(MAX_CREDIT_TEXT), m_maxCreditValue);
    setText(m_allocationText, tr(ALLOCATION_TEXT), m_allocationValue);
    setText(m_libraryDepositText, tr(LIBRARY_DEPOSIT_TEXT), m_libraryDepositValue);
    if (m_okButton) {
        m_okButton->setText(tr(OK_TEXT));
        m_okButton->setAccessibleName(m_okButton->text());
    }
}
