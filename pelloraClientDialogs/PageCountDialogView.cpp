#include "PageCountDialogView.h"

#include "AccountInfoDialogController.h"
#include "AccountInfoDialogView.h"
#include "PageCountDialogController.h"
#include "PageCountDialogModel.h"
#include "PrintClientImages.h"
#include "TsCurrency.h"

#include <QBitmap>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextDocumentFragment>

namespace {
const char *const CAPTION_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "Print this job?");
const char *const NO_CHARGE_TEXT
    = QT_TRANSLATE_NOOP("PageCountDialogView", "There is no charge to print this job.");
const char *const TOTAL_PAGES_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "Total Pages:");
const char *const DUPLEX_MODE_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "Duplex Mode:");
const char *const ENABLED_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "Enabled");
const char *const TOTAL_SHEETS_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "Total Sheets:");
const char *const FREE_PAGE_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "Free Page:");
const char *const FREE_PAGES_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "Free Pages:");
const char *const FREE_SHEET_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "Free Sheet:");
const char *const FREE_SHEETS_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "Free Sheets:");
const char *const PRICE_PER_PAGE_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "Price Per Page:");
const char *const PRICE_PER_SHEET_TEXT
    = QT_TRANSLATE_NOOP("PageCountDialogView", "Price Per Sheet:");
const char *const TOTAL_COST_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "Total Cost:");
const char *const OK_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "OK");
const char *const CANCEL_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "Cancel");
const char *const ACCOUNTS_TEXT = QT_TRANSLATE_NOOP("PageCountDialogView", "Accounts");

const char *const VALUE = "</nobr></td><td align=right><nobr>%1</nobr></td></tr>";
const char *const LEFT = "<tr><td /><td align=left><nobr>";
const char *const MARKED = "<tr><td align=center><nobr>%1</nobr></td><td align=left><nobr>";

constexpr int COST_LABEL_MIN_WIDTH = 250;

// The receipt's words for a screen reader: one row a line, without markup
// and with character references read as the characters they stand for.
QString spokenText(const QString &receipt)
{
    QStringList lines;
    const QStringList rows = receipt.split(QStringLiteral("</tr>"));
    for (const QString &row : rows) {
        const QString line = QTextDocumentFragment::fromHtml(row).toPlainText().simplified();
        if (!line.isEmpty())
            lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

QString value(long number)
{
    return QString::fromLatin1(VALUE).arg(number);
}

// A receipt word as markup: its translation may come from the Print Service.
QString word(const char *source)
{
    return PageCountDialogView::tr(source).toHtmlEscaped();
}

// An amount from the Print Service as markup: its characters, never its tags.
QString amount(const QString &text)
{
    return QString::fromLatin1(VALUE).arg(TsCurrency::decodeAmount(text).toHtmlEscaped());
}
} // namespace

const char *const PageCountDialogView::MINUS = "-";
const char *const PageCountDialogView::MULTIPLY = "x";

PageCountDialogView::PageCountDialogView(
    QWidget *parent, PageCountDialogController *controller, PageCountDialogModel *model)
    : TsBaseDialog(parent, int(controller->timeout()), true, true, 5, titledWindowFlags())
    , m_controller(controller)
    , m_model(model)
{
    setObjectName(QStringLiteral("PageCountDialogView"));
    activateWindow();

    auto *content = new QVBoxLayout;
    auto *row = new QHBoxLayout;

    auto *pictureColumn = new QVBoxLayout;
    pictureColumn->addStretch(1);
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("wantToPrintImage"));
    QPixmap pixmap = PrintClientImages::wantToPrint();
    pixmap.setMask(pixmap.createMaskFromColor(::Qt::white));
    picture->setPixmap(pixmap);
    pictureColumn->addWidget(picture, 0, ::Qt::AlignTop);
    pictureColumn->addStretch(4);
    row->addLayout(pictureColumn);

    m_costLabel = new QLabel(this);
    m_costLabel->setObjectName(QStringLiteral("costLabel"));
    m_costLabel->setTextFormat(::Qt::RichText);
    m_costLabel->setMinimumWidth(COST_LABEL_MIN_WIDTH);
    m_costLabel->setAlignment(::Qt::AlignTop | ::Qt::AlignLeft);
    row->addWidget(m_costLabel, 0, ::Qt::AlignTop);
    row->addSpacing(15);

    auto *buttons = new QVBoxLayout;
    m_okButton = makeButton(QStringLiteral("userIdDialog_OkBtn"));
    m_okButton->setEnabled(true);
    m_okButton->setDefault(true);
    buttons->addWidget(m_okButton);
    buttons->addSpacing(2);
    m_cancelButton = makeButton(QStringLiteral("userIdDialog_CancelBtn"));
    buttons->addWidget(m_cancelButton);
    if (m_controller->showAccountInfoButton()) {
        buttons->addSpacing(2);
        m_accountsButton = makeButton(QStringLiteral("userIdDialog_AccountInfoBtn"));
        buttons->addWidget(m_accountsButton);
        connect(
            m_accountsButton, &QPushButton::clicked, this, &PageCountDialogView::showAccountInfo);
    }
    buttons->addStretch(1);
    row->addLayout(buttons);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    content->addLayout(row);

    if (!m_model->freeTextMessage().isEmpty()) {
        m_freeTextLabel = new QLabel(this);
        m_freeTextLabel->setObjectName(QStringLiteral("freeTextLabel"));
        // The Print Service's own words: shown, never interpreted.
        m_freeTextLabel->setTextFormat(::Qt::PlainText);
        m_freeTextLabel->setWordWrap(true);
        m_freeTextLabel->setAlignment(::Qt::AlignCenter);
        content->addWidget(m_freeTextLabel);
        content->addSpacing(5);
    }

    m_okButton->setFocus();
    redrawText();
    setMainLayout(content);
}

QPushButton *PageCountDialogView::makeButton(const QString &objectName)
{
    auto *button = new QPushButton(this);
    button->setObjectName(objectName);
    button->setMinimumWidth(80);
    return button;
}

QString PageCountDialogView::receiptText(const PageCountDialogModel &model, int width)
{
    const long sheets = model.sheetCount();
    const long free = model.freePagesPrinted();
    QString text = QStringLiteral("<table cellpadding='1' cellspacing='0' width='")
        + QString::number(width) + QStringLiteral("' >");
    if (model.freeJob()) {
        text += QStringLiteral("<tr><td /><td colspan=2 align=left><nobr>") + word(NO_CHARGE_TEXT)
            + QStringLiteral("</nobr></td></tr>");
    }
    text += QLatin1String(LEFT) + word(TOTAL_PAGES_TEXT) + value(model.pageCount());
    if (sheets > 0) {
        text += QLatin1String(LEFT) + word(DUPLEX_MODE_TEXT)
            + QStringLiteral("</nobr></td><td align=right><nobr>") + word(ENABLED_TEXT)
            + QStringLiteral("</nobr></td></tr>");
        text += QLatin1String(LEFT) + word(TOTAL_SHEETS_TEXT) + value(sheets);
    }
    if (free > 0) {
        const char *label = sheets < 1 ? (free == 1 ? FREE_PAGE_TEXT : FREE_PAGES_TEXT)
                                       : (free == 1 ? FREE_SHEET_TEXT : FREE_SHEETS_TEXT);
        text += QString::fromLatin1(MARKED).arg(QLatin1String(MINUS)) + word(label) + value(free);
    }
    if (!model.freeJob()) {
        text += QString::fromLatin1(MARKED).arg(QLatin1String(MULTIPLY))
            + word(sheets < 1 ? PRICE_PER_PAGE_TEXT : PRICE_PER_SHEET_TEXT)
            + amount(model.pageCost());
        text += QStringLiteral("<tr><td valign=bottom colspan=3><hr></td></tr>");
        text += QStringLiteral("<tr><td></td><td valign=top align=left><nobr><b><big>")
            + word(TOTAL_COST_TEXT)
            + QStringLiteral("</big></b></nobr></td><td valign=top align=right><nobr><b><big>%1"
                             "</big></b></nobr></td></tr>")
                  .arg(TsCurrency::decodeAmount(model.totalCost()).toHtmlEscaped());
    }
    text += QStringLiteral("</table>");
    return text;
}

void PageCountDialogView::redrawText()
{
    setWindowTitle(tr(CAPTION_TEXT));
    m_costLabel->setText(receiptText(*m_model, qMax(m_costLabel->width(), COST_LABEL_MIN_WIDTH)));
    m_costLabel->setAccessibleName(tr(CAPTION_TEXT));
    m_costLabel->setAccessibleDescription(spokenText(m_costLabel->text()));
    m_okButton->setText(tr(OK_TEXT));
    m_okButton->setAccessibleName(m_okButton->text());
    m_cancelButton->setText(tr(CANCEL_TEXT));
    m_cancelButton->setAccessibleName(m_cancelButton->text());
    if (m_accountsButton) {
        m_accountsButton->setText(tr(ACCOUNTS_TEXT));
        m_accountsButton->setAccessibleName(m_accountsButton->text());
    }
    if (m_freeTextLabel) {
        m_freeTextLabel->setText(m_model->freeTextMessage());
        m_freeTextLabel->setAccessibleName(m_model->freeTextMessage());
    }
}

int PageCountDialogView::execDialog()
{
    setToForeground();
    return exec();
}

void PageCountDialogView::showAccountInfo()
{
    // The patron is reading the accounts: this dialog must not time out meanwhile.
    stopTimer();
    {
        AccountInfoDialogController controller(
            m_controller->sessionInfo(), int(m_controller->timeout()));
        AccountInfoDialogView view(this, &controller);
        view.setToForeground();
        view.exec();
    }
    if (isVisible())
        startTimer();
}

void PageCountDialogView::keyPressEvent(QKeyEvent *event)
{
    // Return prints; a focused Cancel or Accounts button takes Return itself.
    if (event->key() == ::Qt::Key_Return || event->key() == ::Qt::Key_Enter) {
        accept();
        return;
    }
    TsBaseDialog::keyPressEvent(event);
}
