#include "PasswordDialog.h"

#include "ImageButton.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

namespace {
QObject *s_mainWidget = nullptr;
const char *const DefaultContext = "PasswordDialog";
} // namespace

PasswordDialog::PasswordDialog(QWidget *parent, const PasswordDlgInfo &info, bool imageButtons)
    : KeypadDialog(info.keypadStyle(), parent, info.dlgTimeout(), true)
    , m_info(info)
{
    setObjectName(QStringLiteral("PasswordDialog"));
    auto *content = new QVBoxLayout;
    if (!m_info.dialogText().isEmpty()) {
        m_instructionLabel = new QLabel(this);
        m_instructionLabel->setTextFormat(::Qt::PlainText);
        m_instructionLabel->setObjectName(QStringLiteral("passwordDlg_Instruction"));
        m_instructionLabel->setWordWrap(true);
        m_instructionLabel->setAlignment(::Qt::AlignCenter);
        m_instructionLabel->setMinimumWidth(300);
        content->addWidget(m_instructionLabel);
        content->addSpacing(5);
    }

    auto *row = new QHBoxLayout;
    m_logoLabel = new QLabel(this);
    m_logoLabel->setObjectName(QStringLiteral("passwordDlg_Logo"));
    m_logoLabel->setAlignment(::Qt::AlignTop);
    m_logoLabel->setPixmap(QPixmap(m_info.imgPath()));
    row->addWidget(m_logoLabel, 0, ::Qt::AlignTop);
    row->addSpacing(15);

    auto *fields = new QVBoxLayout;
    if (m_info.requireStaffId()) {
        m_staffIdLabel = new QLabel(this);
        m_staffIdLabel->setTextFormat(::Qt::PlainText);
        m_staffIdEdit = new QLineEdit(this);
        m_staffIdEdit->setObjectName(QStringLiteral("passwordDlg_staffIdEntry"));
        m_staffIdEdit->setMinimumWidth(200);
        fields->addWidget(m_staffIdLabel);
        fields->addWidget(m_staffIdEdit);
        fields->addSpacing(10);
    }
    m_passwordLabel = new QLabel(this);
    m_passwordLabel->setTextFormat(::Qt::PlainText);
    m_passwordEdit = new QLineEdit(this);
    m_passwordEdit->setObjectName(QStringLiteral("passwordDlg_passwordEntry"));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_passwordEdit->setMinimumWidth(200);
    if (!m_info.passwordInput().isEmpty()) {
        m_passwordEdit->setText(m_info.passwordInput());
        m_passwordEdit->setEnabled(false);
    }
    fields->addWidget(m_passwordLabel);
    fields->addWidget(m_passwordEdit);
    fields->addSpacing(10);
    if (m_info.requireReasonForOverride()) {
        m_reasonLabel = new QLabel(this);
        m_reasonLabel->setTextFormat(::Qt::PlainText);
        m_reasonEdit = new QTextEdit(this);
        m_reasonEdit->setObjectName(QStringLiteral("passwordDlg_reasonEntry"));
        m_reasonEdit->setAcceptRichText(false);
        m_reasonEdit->setMinimumWidth(300);
        m_reasonEdit->setMaximumHeight(50);
        fields->addWidget(m_reasonLabel);
        fields->addWidget(m_reasonEdit);
        fields->addSpacing(10);
    }
    row->addLayout(fields, 1);
    row->addSpacing(15);

    for (QLineEdit *edit : {m_staffIdEdit, m_passwordEdit}) {
        if (!edit)
            continue;
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, &PasswordDialog::changeOkBtnImage);
    }
    if (m_reasonEdit) {
        m_reasonEdit->installEventFilter(this);
        connect(m_reasonEdit, &QTextEdit::textChanged, this, &PasswordDialog::changeOkBtnImage);
    }

    auto *buttons = new QVBoxLayout;
    m_okButton = makeButton(imageButtons, "passwordDlg_OkBtn", m_info.okImgPath(), "button1.jpg",
        m_info.disableOkImgPath(), "button1_disable.jpg");
    m_cancelButton = makeButton(imageButtons, "passwordDlg_CancelBtn", m_info.cancelImgPath(),
        "button2.jpg", QString(), nullptr);
    connect(m_okButton, &QAbstractButton::clicked, this, &PasswordDialog::okBtn);
    connect(m_cancelButton, &QAbstractButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_okButton);
    buttons->addSpacing(10);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch(1);
    row->addLayout(buttons);
    content->addLayout(row);

    // A pre-filled password may already complete the input.
    changeOkBtnImage();
    redrawText();
    setMainLayout(content);
}

QAbstractButton *PasswordDialog::makeButton(bool imageButtons, const char *name,
    const QString &imagePath, const char *fallback, const QString &disabledPath,
    const char *disabledFallback)
{
    auto imageFile = [](const QString &path, const char *fallbackName) {
        return !path.isEmpty()
            ? path
            : QStringLiteral("%1/images/%2").arg(applicationFolder(), QLatin1String(fallbackName));
    };
    QPushButton *button;
    if (imageButtons) {
        auto *imageButton = new UtilsLib::ImageButton(QString(), this, name);
        imageButton->setEnabledImage(QPixmap(imageFile(imagePath, fallback)));
        if (disabledFallback)
            imageButton->setDisabledImage(QPixmap(imageFile(disabledPath, disabledFallback)));
        button = imageButton;
    } else {
        button = new QPushButton(this);
        button->setObjectName(QLatin1String(name));
    }
    button->setAutoDefault(false);
    button->setMinimumWidth(80);
    return button;
}

void PasswordDialog::setMainWidget(QObject *widget)
{
    s_mainWidget = widget;
}

QString PasswordDialog::password()
{
    return m_passwordEdit->text();
}

QString PasswordDialog::staffId() const
{
    return m_staffIdEdit ? m_staffIdEdit->text() : QString();
}

QString PasswordDialog::reasonForOverride() const
{
    return m_reasonEdit ? m_reasonEdit->toPlainText() : QString();
}

void PasswordDialog::setLogoPixmap(const QPixmap &pixmap)
{
    m_logoLabel->setPixmap(pixmap);
}

bool PasswordDialog::getUserInput()
{
    // A pre-filled password is part of the request, not an earlier answer.
    m_passwordEdit->setText(m_info.passwordInput());
    if (m_passwordEdit->isEnabled())
        m_passwordEdit->setFocus();
    else if (m_staffIdEdit)
        m_staffIdEdit->setFocus();
    return exec() == 1;
}

void PasswordDialog::redrawText()
{
    const QByteArray context = m_info.hasTranslationContext() ? m_info.translationContext().toUtf8()
                                                              : QByteArray(DefaultContext);
    auto tr = [&context](const QString &text) {
        return QCoreApplication::translate(context.constData(), text.toUtf8().constData());
    };
    setWindowTitle(tr(m_info.captionText()));
    m_passwordLabel->setText(tr(m_info.passwordText()));
    if (m_instructionLabel)
        m_instructionLabel->setText(tr(m_info.dialogText()));
    if (m_staffIdLabel)
        m_staffIdLabel->setText(QCoreApplication::translate("PasswordDialog", "Staff Id"));
    if (m_reasonLabel)
        m_reasonLabel->setText(
            QCoreApplication::translate("PasswordDialog", "Reason for Override"));
    if (m_info.hasButtonTranslationContext()) {
        const QByteArray buttonContext = m_info.buttonTranslationContext().toUtf8();
        m_okButton->setText(QCoreApplication::translate(
            buttonContext.constData(), m_info.okBtnText().toUtf8().constData()));
        m_cancelButton->setText(QCoreApplication::translate(
            buttonContext.constData(), m_info.cancelBtnText().toUtf8().constData()));
    } else {
        m_okButton->setText(QCoreApplication::translate("PasswordDialog", "OK"));
        m_cancelButton->setText(QCoreApplication::translate("PasswordDialog", "Cancel"));
    }
}

bool PasswordDialog::inputComplete() const
{
    if (m_passwordEdit->text().isEmpty())
        return false;
    if (m_staffIdEdit && m_staffIdEdit->text().isEmpty())
        return false;
    if (m_reasonEdit && m_reasonEdit->toPlainText().isEmpty())
        return false;
    return true;
}

void PasswordDialog::changeOkBtnImage()
{
    m_okButton->setEnabled(false);
    if (m_reasonEdit && m_reasonEdit->toPlainText().size() > MAX_REASON_LENGTH) {
        m_reasonEdit->setPlainText(m_reasonEdit->toPlainText().left(MAX_REASON_LENGTH));
        m_reasonEdit->moveCursor(QTextCursor::End);
    }
    m_okButton->setEnabled(inputComplete());
}

void PasswordDialog::okBtn()
{
    if (inputComplete())
        done(1);
}

bool PasswordDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        if (s_mainWidget && s_mainWidget != this)
            s_mainWidget->eventFilter(watched, event);
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == ::Qt::Key_Return || key == ::Qt::Key_Enter) {
            okBtn();
            return true;
        }
    }
    return KeypadDialog::eventFilter(watched, event);
}
