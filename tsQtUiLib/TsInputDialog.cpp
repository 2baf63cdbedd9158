#include "TsInputDialog.h"

#include "CommonDialogMessages.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TsInputDialog::TsInputDialog(const QString &caption, const QString &label)
    : TsBaseDialog(nullptr, -1, false, true, 5, titledWindowFlags())
    , m_caption(caption)
    , m_labelText(label)
{
    setObjectName(QStringLiteral("TsInputDialog"));
    auto *row = new QHBoxLayout;
    row->setContentsMargins(5, 5, 5, 5);
    row->setSpacing(15);
    auto *left = new QVBoxLayout;
    left->setSpacing(10);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setTextFormat(::Qt::PlainText);
    m_label->setWordWrap(true);
    m_label->setMinimumWidth(280);
    m_input = new QLineEdit(this);
    m_input->setObjectName(QStringLiteral("input"));
    left->addWidget(m_label);
    left->addWidget(m_input);
    row->addLayout(left, 1);

    auto *right = new QVBoxLayout;
    right->setSpacing(5);
    m_okButton = new QPushButton(this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setAutoDefault(false);
    m_okButton->setMinimumWidth(80);
    right->addWidget(m_okButton);
    right->addStretch(1);
    row->addLayout(right);

    connect(m_input, &QLineEdit::returnPressed, this, &QDialog::accept);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    setMainLayout(row);
    redrawText();
}

QString TsInputDialog::getInput() const
{
    return m_input->text();
}

void TsInputDialog::setInput(const QString &text)
{
    m_input->setText(text);
}

void TsInputDialog::redrawText()
{
    setWindowTitle(
        QCoreApplication::translate(CommonDialogMessages::CONTEXT, m_caption.toUtf8().constData()));
    m_label->setText(QCoreApplication::translate(
        CommonDialogMessages::CONTEXT, m_labelText.toUtf8().constData()));
    m_okButton->setText(QCoreApplication::translate("TsInputDialog", "OK"));
}
