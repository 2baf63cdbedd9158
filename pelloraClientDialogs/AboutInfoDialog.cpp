#include "AboutInfoDialog.h"

#include "PrintClientImages.h"
#include "VersionInfoInterface.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace {
const char *const OK_TEXT = QT_TRANSLATE_NOOP("AboutInfoDialog", "OK");
constexpr int MARGIN = 5;
constexpr int GAP = 10;
} // namespace

const char *const AboutInfoDialog::Acknowledgements
    = "This software uses the Qt toolkit, Copyright (C) The Qt Company Ltd. and other "
      "contributors, under the GNU Lesser General Public License version 3, and the GNU C++ "
      "Standard Library, Copyright (C) Free Software Foundation, Inc., under the GNU General "
      "Public License version 3 with the GCC Runtime Library Exception.\n"
      "All Rights Reserved.\n"
      "\n"
      "Tessaly and Pellora are trademarks of Tessaly. Qt is a registered trademark of The Qt "
      "Company Ltd. and its subsidiaries. Linux is the registered trademark of Linus Torvalds. "
      "Other names are the trademarks of their owners.";

AboutInfoDialog::AboutInfoDialog()
    : TsBaseDialog(nullptr, -1, true, true, MARGIN,
        ::Qt::Dialog | ::Qt::WindowStaysOnTopHint | ::Qt::WindowTitleHint
            | ::Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("AboutInfoDialog"));
    auto *content = new QVBoxLayout;
    auto *row = new QHBoxLayout;
    auto *logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("aboutLogo"));
    logo->setPixmap(PrintClientImages::pelloraOne());
    logo->setAlignment(::Qt::AlignTop);
    row->addWidget(logo);
    row->addSpacing(GAP);
    m_mainLabel = new QLabel(this);
    m_mainLabel->setObjectName(QStringLiteral("mainLabel"));
    m_mainLabel->setTextFormat(::Qt::PlainText);
    m_mainLabel->setWordWrap(true);
    m_mainLabel->setMinimumWidth(440);
    row->addWidget(m_mainLabel, 1);
    content->addLayout(row);
    content->addSpacing(GAP);

    m_okButton = new QPushButton(this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setDefault(true);
    content->addWidget(m_okButton, 0, ::Qt::AlignHCenter);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    setMainLayout(content);
    // Space on the focused button closes the box without a mouse.
    m_okButton->setFocus();
    redrawText();
}

void AboutInfoDialog::redrawText()
{
    const QString ok = QCoreApplication::translate("AboutInfoDialog", OK_TEXT);
    m_okButton->setText(ok);
    m_okButton->setAccessibleName(ok);
    const QString text = QStringLiteral("%1 - Version %2\n%3\n")
                             .arg(versionInfo->getFileDescription(),
                                 versionInfo->getVersionString(), versionInfo->getCopyrightText())
        + QString::fromUtf8(Acknowledgements);
    m_mainLabel->setText(text);
    m_mainLabel->setAccessibleName(text);
}
