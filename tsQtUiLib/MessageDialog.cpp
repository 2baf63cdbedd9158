#include "MessageDialog.h"

#include "CommonDialogMessages.h"
#include "ImageButton.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

const char *const MessageDialog::OK = QT_TRANSLATE_NOOP("MessageDialog", "OK");
const char *const MessageDialog::YES = QT_TRANSLATE_NOOP("MessageDialog", "Yes");
const char *const MessageDialog::NO = QT_TRANSLATE_NOOP("MessageDialog", "No");
const char *const MessageDialog::CANCEL = QT_TRANSLATE_NOOP("MessageDialog", "Cancel");
const char *const MessageDialog::CONTEXT = "MessageDialog";

MessageDialog::MessageDialog(const QString &caption, const QStringList &label1,
    const QStringList &label2, QMessageBox::Icon icon, QWidget *parent, int timeoutSeconds,
    int buttons, const QString &button1Text, const QString &button1Image,
    const QString &button2Text, const QString &button2Image, const QString &button3Text,
    const QString &button3Image)
    : TsBaseDialog(parent, timeoutSeconds, true, true, 5, titledWindowFlags())
    , m_caption(caption)
    , m_label1(label1)
    , m_label2(label2)
    , m_buttonTexts {button1Text, button2Text, button3Text}
{
    if (buttons >= 1000) {
        buttons -= 1000;
        m_imageButtons = false;
    }
    m_buttonCount = qBound(1, buttons, 3);

    auto *content = new QVBoxLayout;
    auto *row = new QHBoxLayout;
    m_iconLabel = new QLabel(this);
    m_iconLabel->setObjectName(QStringLiteral("iconLabel"));
    m_iconLabel->setAlignment(::Qt::AlignTop);
    setIcon(icon);
    row->addWidget(m_iconLabel);
    row->addSpacing(10);
    m_messageLabel = new QLabel(this);
    m_messageLabel->setObjectName(QStringLiteral("messageLabel"));
    // Texts come from the Print Service: show them, never interpret them.
    m_messageLabel->setTextFormat(::Qt::PlainText);
    m_messageLabel->setWordWrap(true);
    m_messageLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_messageLabel->setMinimumWidth(250);
    row->addWidget(m_messageLabel);
    content->addLayout(row);
    content->addSpacing(10);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->setAlignment(::Qt::AlignCenter);
    buttonRow->addStretch(1);
    const QString images[3] = {button1Image, button2Image, button3Image};
    for (int i = 0; i < m_buttonCount; ++i) {
        if (i > 0)
            buttonRow->addSpacing(10);
        QAbstractButton *button = createButton(i + 1, images[i]);
        m_buttons[i] = button;
        buttonRow->addWidget(button, 0, ::Qt::AlignCenter);
    }
    buttonRow->addStretch(1);
    content->addLayout(buttonRow);

    if (auto *first = qobject_cast<QPushButton *>(m_buttons[0]))
        first->setDefault(true);
    if (m_buttons[1]) {
        static_cast<QPushButton *>(m_buttons[0])->setAutoDefault(false);
        static_cast<QPushButton *>(m_buttons[1])->setAutoDefault(false);
    }

    activateWindow();
    setMainLayout(content);
    redrawText();
}

QAbstractButton *MessageDialog::createButton(int number, const QString &imagePath)
{
    const QByteArray name = "button" + QByteArray::number(number);
    QPushButton *button;
    if (m_imageButtons) {
        auto *imageButton = new UtilsLib::ImageButton(QString(), this, name.constData());
        const QString path = !imagePath.isEmpty()
            ? imagePath
            : QStringLiteral("%1/images/%2")
                  .arg(applicationFolder(),
                      number == 1 ? QStringLiteral("button1.jpg") : QStringLiteral("button2.jpg"));
        imageButton->setEnabledImage(QPixmap(path));
        button = imageButton;
    } else {
        button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(name));
    }
    button->setMinimumWidth(80);
    connect(button, &QPushButton::clicked, this, &MessageDialog::buttonClick);
    return button;
}

QAbstractButton *MessageDialog::button(int index) const
{
    return index >= 0 && index < 3 ? m_buttons[index] : nullptr;
}

QString MessageDialog::messageText() const
{
    return m_messageLabel->text();
}

void MessageDialog::buttonClick()
{
    for (int i = 0; i < 3; ++i) {
        if (m_buttons[i] && sender() == m_buttons[i]) {
            done(m_buttonValues[i]);
            return;
        }
    }
}

void MessageDialog::setButtonValues(int value1, int value2, int value3)
{
    m_buttonValues[0] = value1;
    m_buttonValues[1] = value2;
    m_buttonValues[2] = value3;
}

void MessageDialog::setCaptionText(const QString &caption)
{
    m_caption = caption;
}

void MessageDialog::setLabel1Text(const QStringList &texts)
{
    m_label1 = texts;
}

void MessageDialog::setLabel2Text(const QStringList &texts)
{
    m_label2 = texts;
}

void MessageDialog::setLabel3Text(const QStringList &texts)
{
    m_label3 = texts;
    redrawText();
}

QPixmap MessageDialog::standardIcon(QMessageBox::Icon icon)
{
    QStyle::StandardPixmap which;
    switch (icon) {
    case QMessageBox::Information:
        which = QStyle::SP_MessageBoxInformation;
        break;
    case QMessageBox::Warning:
        which = QStyle::SP_MessageBoxWarning;
        break;
    case QMessageBox::Critical:
        which = QStyle::SP_MessageBoxCritical;
        break;
    case QMessageBox::Question:
        which = QStyle::SP_MessageBoxQuestion;
        break;
    default:
        return {};
    }
    QStyle *style = QApplication::style();
    const int size = style->pixelMetric(QStyle::PM_MessageBoxIconSize);
    return style->standardIcon(which).pixmap(size, size);
}

void MessageDialog::setIcon(QMessageBox::Icon icon)
{
    m_iconLabel->setPixmap(standardIcon(icon));
}

void MessageDialog::setIconPixmap(const QPixmap &pixmap)
{
    m_iconLabel->setPixmap(pixmap);
}

void MessageDialog::setButtonImage(int index, const QPixmap &pixmap)
{
    if (index < 0 || index > 2)
        return;
    if (auto *imageButton = qobject_cast<UtilsLib::ImageButton *>(m_buttons[index]))
        imageButton->setEnabledImage(pixmap);
}

void MessageDialog::setMessageTextFormat(::Qt::TextFormat format)
{
    m_messageLabel->setTextFormat(format);
}

void MessageDialog::redrawText()
{
    auto translated = [](const QStringList &texts) {
        QStringList out;
        for (const QString &text : texts)
            out << QCoreApplication::translate(CommonDialogMessages::CONTEXT, text.toUtf8());
        return out.join(QLatin1Char(' '));
    };
    setWindowTitle(QCoreApplication::translate(CommonDialogMessages::CONTEXT, m_caption.toUtf8()));
    QString block2 = translated(m_label2);
    QString block3 = translated(m_label3);
    if (!block2.isEmpty())
        block2.prepend(QLatin1Char('\n'));
    if (!block3.isEmpty())
        block3.prepend(QLatin1Char('\n'));
    m_messageLabel->setText(translated(m_label1) + block2 + block3);
    for (int i = 0; i < 3; ++i) {
        if (m_buttons[i])
            m_buttons[i]->setText(QCoreApplication::translate(CONTEXT, m_buttonTexts[i].toUtf8()));
    }
}

bool MessageDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && timeout() != -1)
        restartTimerOnActivity();
    return TsBaseDialog::eventFilter(watched, event);
}
