#include "UserIdDialogView.h"

#include "AlphanumericKeyboardInputFilter.h"
#include "PrintClientImages.h"
#include "QustomLineEdit.h"
#include "TextLabel.h"
#include "UserIdDialogController.h"

#include <QBitmap>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {
const char *const Context = "UserIdDialogView";

QString translated(const char *text)
{
    return QCoreApplication::translate(Context, text);
}

QPushButton *makeButton(QWidget *parent, const char *name)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    // Return is the dialog's, through the event filter: no default button.
    button->setAutoDefault(false);
    button->setMinimumWidth(80);
    return button;
}
} // namespace

const char *const UserIdDialogView::CAPTION_TEXT
    = QT_TRANSLATE_NOOP("UserIdDialogView", "User Identification");
const char *const UserIdDialogView::INSTRUCTION_TEXT
    = QT_TRANSLATE_NOOP("UserIdDialogView", "Please enter the following information.");
const char *const UserIdDialogView::USER_ID_LABEL_TEXT
    = QT_TRANSLATE_NOOP("UserIdDialogView", "User ID");
const char *const UserIdDialogView::PIN_LABEL_TEXT
    = QT_TRANSLATE_NOOP("UserIdDialogView", "User PIN");
const char *const UserIdDialogView::OK_TEXT = QT_TRANSLATE_NOOP("UserIdDialogView", "OK");
const char *const UserIdDialogView::CANCEL_TEXT = QT_TRANSLATE_NOOP("UserIdDialogView", "Cancel");
const char *const UserIdDialogView::GUEST_MESSAGE_TEXT = QT_TRANSLATE_NOOP("UserIdDialogView",
    "GUEST USERS: Please create the information requested above and remember it for use at the "
    "Print Release Terminal.");

UserIdDialogView::UserIdDialogView(QWidget *parent, UserIdDialogController *controller)
    : TsBaseDialog(parent, 0, true, true, 5, titledWindowFlags())
    , m_controller(controller)
{
    setObjectName(QStringLiteral("UserIdDialogView"));
    blockInputMethodEntry();
    activateWindow();
    const bool pinRequired = m_controller && m_controller->pinRequired();
    const bool guestAllowed = m_controller && m_controller->guestAllowed();

    auto *content = new QVBoxLayout;
    m_instructionLabel = new TextLabel(this);
    m_instructionLabel->setObjectName(QStringLiteral("userIdDialog_Instruction"));
    m_instructionLabel->setWordWrap(true);
    m_instructionLabel->setAlignment(::Qt::AlignCenter);
    m_instructionLabel->setMinimumWidth(300);
    content->addWidget(m_instructionLabel);
    content->addSpacing(5);

    auto *row = new QHBoxLayout;
    // Masked once: the dialog is built for every request.
    static const QPixmap picture = [] {
        QPixmap masked = PrintClientImages::userId();
        if (!masked.isNull() && !masked.hasAlphaChannel())
            masked.setMask(masked.createHeuristicMask());
        return masked;
    }();
    m_pictureLabel = new QLabel(this);
    m_pictureLabel->setObjectName(QStringLiteral("userIdDialog_Picture"));
    m_pictureLabel->setPixmap(picture);
    row->addWidget(m_pictureLabel, 0, ::Qt::AlignTop);
    row->addSpacing(15);

    auto *entries = new QVBoxLayout;
    entries->addStretch(1);
    m_userIdLabel = new TextLabel(this);
    m_userIdLabel->setObjectName(QStringLiteral("userIdDialog_UserIdLabel"));
    m_userIdLabel->setMinimumWidth(200);
    m_userIdEdit = new QustomLineEdit(this);
    m_userIdEdit->setObjectName(QStringLiteral("userIdDialog_UserIdEntry"));
    m_userIdEdit->setMinimumWidth(200);
    m_userIdEdit->setMaxLength(USER_ID_MAX_LENGTH);
    if (m_controller && m_controller->maskUserId())
        m_userIdEdit->setEchoMode(QLineEdit::Password);
    m_userIdLabel->setBuddy(m_userIdEdit);
    entries->addWidget(m_userIdLabel);
    entries->addWidget(m_userIdEdit);
    if (pinRequired) {
        entries->addSpacing(5);
        m_passwordLabel = new TextLabel(this);
        m_passwordLabel->setObjectName(QStringLiteral("userIdDialog_PinLabel"));
        m_passwordLabel->setMinimumWidth(200);
        m_passwordEdit = new QustomLineEdit(this);
        m_passwordEdit->setObjectName(QStringLiteral("userIdDialog_PinEntry"));
        m_passwordEdit->setMinimumWidth(200);
        m_passwordEdit->setMaxLength(PIN_MAX_LENGTH);
        m_passwordEdit->setEchoMode(QLineEdit::Password);
        m_passwordLabel->setBuddy(m_passwordEdit);
        entries->addWidget(m_passwordLabel);
        entries->addWidget(m_passwordEdit);
    }
    entries->addStretch(2);
    if (guestAllowed) {
        entries->addSpacing(5);
        m_guestLabel = new TextLabel(this);
        m_guestLabel->setObjectName(QStringLiteral("userIdDialog_GuestNotice"));
        m_guestLabel->setWordWrap(true);
        m_guestLabel->setAlignment(::Qt::AlignTop | ::Qt::AlignLeft);
        m_guestLabel->setMinimumWidth(300);
        entries->addWidget(m_guestLabel);
        entries->addSpacing(5);
    }
    row->addLayout(entries, 1);
    row->addSpacing(15);

    auto *buttons = new QVBoxLayout;
    buttons->setAlignment(::Qt::AlignTop);
    m_okButton = makeButton(this, "userIdDialog_OkBtn");
    m_okButton->setEnabled(false);
    m_cancelButton = makeButton(this, "userIdDialog_CancelBtn");
    buttons->addWidget(m_okButton);
    buttons->addSpacing(2);
    buttons->addWidget(m_cancelButton);
    row->addLayout(buttons);
    content->addLayout(row);

    for (QLineEdit *field : {m_userIdEdit, m_passwordEdit}) {
        if (!field)
            continue;
        field->installEventFilter(this);
        connect(field, &QLineEdit::textChanged, this, &UserIdDialogView::changeOkBtnImage);
    }
    connect(m_okButton, &QPushButton::clicked, this, &UserIdDialogView::okBtn);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // Keyboard alone: the ID first, then the PIN, then the buttons.
    setTabOrder(m_userIdEdit, m_passwordEdit ? static_cast<QWidget *>(m_passwordEdit) : m_okButton);
    if (m_passwordEdit)
        setTabOrder(m_passwordEdit, m_okButton);
    setTabOrder(m_okButton, m_cancelButton);
    m_userIdEdit->setFocus();

    redrawText();
    setMainLayout(content);
    if (m_controller)
        m_controller->setView(this);
}

void UserIdDialogView::installFilter(QLineEdit *field, bool enabled, const QString &exceptions)
{
    if (!field)
        return;
    installKeyboardInputFilter(
        field, enabled ? std::make_unique<AlphanumericKeyboardInputFilter>(exceptions) : nullptr);
}

void UserIdDialogView::enableUserIdInputFilter(bool enabled, const QString &exceptions)
{
    installFilter(m_userIdEdit, enabled, exceptions);
}

void UserIdDialogView::enableUserPinInputFilter(bool enabled, const QString &exceptions)
{
    installFilter(m_passwordEdit, enabled, exceptions);
}

int UserIdDialogView::execDialog()
{
    setToForeground();
    m_userIdEdit->setFocus();
    return exec();
}

QString UserIdDialogView::okButtonText() const
{
    return m_okButton->text();
}

QString UserIdDialogView::cancelButtonText() const
{
    return m_cancelButton->text();
}

QString UserIdDialogView::instructionalText() const
{
    return m_instructionLabel->text();
}

QString UserIdDialogView::userIdLabelText() const
{
    return m_userIdLabel->text();
}

QString UserIdDialogView::passwordLabelText() const
{
    return m_passwordLabel ? m_passwordLabel->text() : QString();
}

QString UserIdDialogView::guestMessageText() const
{
    return m_guestLabel ? m_guestLabel->text() : QString();
}

QString UserIdDialogView::userId() const
{
    return m_userIdEdit->text();
}

QString UserIdDialogView::password() const
{
    return m_passwordEdit ? m_passwordEdit->text() : QString();
}

void UserIdDialogView::setUserId()
{
    m_userIdEdit->clear();
}

void UserIdDialogView::setPassword()
{
    if (m_passwordEdit)
        m_passwordEdit->clear();
}

void UserIdDialogView::redrawText()
{
    setWindowTitle(translated(CAPTION_TEXT));
    setAccessibleName(windowTitle());
    m_instructionLabel->setText(translated(INSTRUCTION_TEXT));
    m_instructionLabel->setAccessibleName(m_instructionLabel->text());
    m_pictureLabel->setAccessibleName(windowTitle());
    m_userIdLabel->setText(translated(USER_ID_LABEL_TEXT));
    m_userIdLabel->setAccessibleName(m_userIdLabel->text());
    m_userIdEdit->setAccessibleName(m_userIdLabel->text());
    if (m_passwordEdit) {
        m_passwordLabel->setText(translated(PIN_LABEL_TEXT));
        m_passwordLabel->setAccessibleName(m_passwordLabel->text());
        m_passwordEdit->setAccessibleName(m_passwordLabel->text());
    }
    if (m_guestLabel) {
        m_guestLabel->setText(translated(GUEST_MESSAGE_TEXT));
        m_guestLabel->setAccessibleName(m_guestLabel->text());
        // A screen reader announces the notice with the field it is about.
        m_userIdEdit->setAccessibleDescription(m_guestLabel->text());
    }
    m_okButton->setText(translated(OK_TEXT));
    m_okButton->setAccessibleName(m_okButton->text());
    m_cancelButton->setText(translated(CANCEL_TEXT));
    m_cancelButton->setAccessibleName(m_cancelButton->text());
}

bool UserIdDialogView::inputComplete() const
{
    if (m_userIdEdit->text().trimmed().isEmpty())
        return false;
    return !m_passwordEdit || !m_passwordEdit->text().trimmed().isEmpty();
}

void UserIdDialogView::changeOkBtnImage()
{
    m_okButton->setEnabled(false);
    // User IDs are always entered in capitals.
    const QString text = m_userIdEdit->text();
    const QString upper = text.toUpper();
    if (upper != text) {
        // Upper-casing can lengthen the text (ß): count the cursor in upper case too.
        const int cursor = int(text.left(m_userIdEdit->cursorPosition()).toUpper().size());
        m_userIdEdit->setText(upper);
        m_userIdEdit->setCursorPosition(cursor);
    }
    m_okButton->setEnabled(inputComplete());
}

void UserIdDialogView::okBtn()
{
    // The same test as the OK button's: Return must not send an ID of blanks
    // that the disabled button refuses.
    if (!inputComplete())
        return;
    if (m_controller) {
        m_controller->setUserId();
        if (m_controller->pinRequired())
            m_controller->setPassword();
    }
    done(1);
}

bool UserIdDialogView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == ::Qt::Key_Return || key == ::Qt::Key_Enter) {
            okBtn();
            return true;
        }
    }
    return TsBaseDialog::eventFilter(watched, event);
}
