#include "KeyPad.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {
struct CharKey
{
    const char *id;
    const char *plain;
    const char *shifted;
};

constexpr int KeyWidth = 60;
constexpr int KeyHeight = 50;

// clang-format off
const CharKey charKeys[] = {
    {"a", "a", "A"}, {"b", "b", "B"}, {"c", "c", "C"}, {"d", "d", "D"}, {"e", "e", "E"},
    {"f", "f", "F"}, {"g", "g", "G"}, {"h", "h", "H"}, {"i", "i", "I"}, {"j", "j", "J"},
    {"k", "k", "K"}, {"l", "l", "L"}, {"m", "m", "M"}, {"n", "n", "N"}, {"o", "o", "O"},
    {"p", "p", "P"}, {"q", "q", "Q"}, {"r", "r", "R"}, {"s", "s", "S"}, {"t", "t", "T"},
    {"u", "u", "U"}, {"v", "v", "V"}, {"w", "w", "W"}, {"x", "x", "X"}, {"y", "y", "Y"},
    {"z", "z", "Z"},
    {"0", "0", "0"}, {"1", "1", "1"}, {"2", "2", "2"}, {"3", "3", "3"}, {"4", "4", "4"},
    {"5", "5", "5"}, {"6", "6", "6"}, {"7", "7", "7"}, {"8", "8", "8"}, {"9", "9", "9"},
    {"tilde", "`", "~"}, {"minus", "-", "_"}, {"equal", "=", "+"}, {"lbracket", "[", "{"},
    {"rbracket", "]", "}"}, {"colons", ";", ":"}, {"quotes", "'", "\""}, {"comma", ",", "<"},
    {"period", ".", ">"}, {"fslash", "/", "?"}, {"bslash", "\\", "\\"}, {"at", "@", "@"},
    {"space", " ", " "},
    {"com", ".com", ".COM"}, {"net", ".net", ".NET"}, {"org", ".org", ".ORG"},
    {"gov", ".gov", ".GOV"},
};
// clang-format on

const CharKey *findKey(const char *id)
{
    for (const auto &key : charKeys) {
        if (qstrcmp(key.id, id) == 0)
            return &key;
    }
    return nullptr;
}
} // namespace

KeyPad::KeyPad(QWidget *owner, int style)
    : TsBaseDialog(
        owner, -1, false, false, 0, untitledWindowFlags() | ::Qt::WindowDoesNotAcceptFocus)
    , m_owner(owner)
    , m_style(style)
{
    setObjectName(QStringLiteral("KeyPad"));
    // Touching a key must not take the activation from the dialog being typed into.
    setAttribute(::Qt::WA_ShowWithoutActivating);
    auto *content = new QVBoxLayout;
    content->setContentsMargins(4, 4, 4, 4);
    m_grid = new QGridLayout;
    m_grid->setSpacing(3);
    content->addLayout(m_grid);
    if (m_style == ALPHA_STYLE)
        buildAlpha();
    else
        buildNumeric();
    setMainLayout(content);
    redrawText();
}

QPushButton *KeyPad::addKey(const QString &id, int row, int column, int columnSpan, int width)
{
    auto *button = new QPushButton(this);
    button->setObjectName(QLatin1String("key_") + id);
    button->setFocusPolicy(::Qt::NoFocus);
    button->setAutoDefault(false);
    button->setMinimumSize(width, KeyHeight);
    if (width == KeyWidth || columnSpan == 1)
        button->setFixedSize(width, KeyHeight);
    else
        button->setFixedHeight(KeyHeight);
    m_grid->addWidget(button, row, column, 1, columnSpan);
    m_keys.insert(id, button);
    return button;
}

void KeyPad::buildAlpha()
{
    // Rows and columns as the patron expects them; column 11 stays empty
    // between the letters and the digit block.
    addKey(QStringLiteral("next"), 0, 0, 2, 2 * KeyWidth);
    addKey(QStringLiteral("clear"), 0, 2, 2, 2 * KeyWidth);
    addKey(QStringLiteral("back"), 0, 4, 2, 2 * KeyWidth);
    const char *row1[] = {"tilde", "minus", "equal", "lbracket", "rbracket"};
    for (int i = 0; i < 5; ++i)
        addKey(QLatin1String(row1[i]), 0, 6 + i, 1, KeyWidth);
    const char *row2[] = {"q", "w", "e", "r", "t", "y", "u", "i", "o", "p", "bslash"};
    for (int i = 0; i < 11; ++i)
        addKey(QLatin1String(row2[i]), 1, i, 1, KeyWidth);
    const char *row3[] = {"a", "s", "d", "f", "g", "h", "j", "k", "l", "colons", "quotes"};
    for (int i = 0; i < 11; ++i)
        addKey(QLatin1String(row3[i]), 2, i, 1, KeyWidth);
    const char *row4[] = {"z", "x", "c", "v", "b", "n", "m", "comma", "period", "fslash", "at"};
    for (int i = 0; i < 11; ++i)
        addKey(QLatin1String(row4[i]), 3, i, 1, KeyWidth);
    const char *digits[4][3]
        = {{"7", "8", "9"}, {"4", "5", "6"}, {"1", "2", "3"}, {nullptr, "0", nullptr}};
    for (int row = 0; row < 4; ++row) {
        for (int i = 0; i < 3; ++i) {
            if (digits[row][i])
                addKey(QLatin1String(digits[row][i]), row, 12 + i, 1, KeyWidth);
        }
    }
    m_grid->setColumnMinimumWidth(11, KeyWidth / 2);

    QPushButton *shift = addKey(QStringLiteral("shift"), 4, 1, 2, 2 * KeyWidth);
    shift->setCheckable(true);
    addKey(QStringLiteral("space"), 4, 4, 5, 5 * KeyWidth);
    for (const char *domain : {"com", "net", "org", "gov"})
        addKey(QLatin1String(domain), 4, 0, 1, KeyWidth)->hide();
    placeBottomRow();

    // clang-format off
    const std::pair<const char *, void (KeyPad::*)()> handlers[] = {
        {"a", &KeyPad::hitA}, {"b", &KeyPad::hitB}, {"c", &KeyPad::hitC}, {"d", &KeyPad::hitD},
        {"e", &KeyPad::hitE}, {"f", &KeyPad::hitF}, {"g", &KeyPad::hitG}, {"h", &KeyPad::hitH},
        {"i", &KeyPad::hitI}, {"j", &KeyPad::hitJ}, {"k", &KeyPad::hitK}, {"l", &KeyPad::hitL},
        {"m", &KeyPad::hitM}, {"n", &KeyPad::hitN}, {"o", &KeyPad::hitO}, {"p", &KeyPad::hitP},
        {"q", &KeyPad::hitQ}, {"r", &KeyPad::hitR}, {"s", &KeyPad::hitS}, {"t", &KeyPad::hitT},
        {"u", &KeyPad::hitU}, {"v", &KeyPad::hitV}, {"w", &KeyPad::hitW}, {"x", &KeyPad::hitX},
        {"y", &KeyPad::hitY}, {"z", &KeyPad::hitZ}, {"0", &KeyPad::hit0}, {"1", &KeyPad::hit1},
        {"2", &KeyPad::hit2}, {"3", &KeyPad::hit3}, {"4", &KeyPad::hit4}, {"5", &KeyPad::hit5},
        {"6", &KeyPad::hit6}, {"7", &KeyPad::hit7}, {"8", &KeyPad::hit8}, {"9", &KeyPad::hit9},
        {"back", &KeyPad::hitBack}, {"clear", &KeyPad::hitClear},
        {"next", &KeyPad::hitNextField}, {"shift", &KeyPad::hitShift},
        {"space", &KeyPad::hitSpace}, {"bslash", &KeyPad::hitBSlash},
        {"fslash", &KeyPad::hitFSlash}, {"lbracket", &KeyPad::hitLBracket},
        {"rbracket", &KeyPad::hitRBracket}, {"colons", &KeyPad::hitColons},
        {"quotes", &KeyPad::hitQuotes}, {"comma", &KeyPad::hitComma},
        {"period", &KeyPad::hitPeriod}, {"minus", &KeyPad::hitMinus},
        {"equal", &KeyPad::hitEqual}, {"tilde", &KeyPad::hitTilde}, {"at", &KeyPad::hitAtSign},
        {"com", &KeyPad::hitDotCom}, {"net", &KeyPad::hitDotNet}, {"org", &KeyPad::hitDotOrg},
        {"gov", &KeyPad::hitDotGov},
    };
    // clang-format on
    for (const auto &[id, slot] : handlers)
        connect(m_keys.value(QLatin1String(id)), &QPushButton::clicked, this, slot);
}

void KeyPad::buildNumeric()
{
    const char *digits[3][3] = {{"7", "8", "9"}, {"4", "5", "6"}, {"1", "2", "3"}};
    for (int row = 0; row < 3; ++row) {
        for (int i = 0; i < 3; ++i)
            addKey(QLatin1String(digits[row][i]), row, i, 1, KeyWidth);
    }
    addKey(QStringLiteral("0"), 3, 0, 2, 2 * KeyWidth);
    addKey(QStringLiteral("period"), 3, 2, 1, KeyWidth);
    addKey(QStringLiteral("next"), 0, 4, 2, 2 * KeyWidth);
    addKey(QStringLiteral("clear"), 1, 4, 2, 2 * KeyWidth);
    addKey(QStringLiteral("back"), 2, 4, 2, 2 * KeyWidth);
    m_grid->setColumnMinimumWidth(3, KeyWidth / 2);

    // clang-format off
    const std::pair<const char *, void (KeyPad::*)()> handlers[] = {
        {"0", &KeyPad::hit0}, {"1", &KeyPad::hit1}, {"2", &KeyPad::hit2}, {"3", &KeyPad::hit3},
        {"4", &KeyPad::hit4}, {"5", &KeyPad::hit5}, {"6", &KeyPad::hit6}, {"7", &KeyPad::hit7},
        {"8", &KeyPad::hit8}, {"9", &KeyPad::hit9}, {"period", &KeyPad::hitPeriod},
        {"next", &KeyPad::hitNextField}, {"clear", &KeyPad::hitClear},
        {"back", &KeyPad::hitBack},
    };
    // clang-format on
    for (const auto &[id, slot] : handlers)
        connect(m_keys.value(QLatin1String(id)), &QPushButton::clicked, this, slot);
    relabel();
}

void KeyPad::placeBottomRow()
{
    QPushButton *shift = m_keys.value(QStringLiteral("shift"));
    QPushButton *space = m_keys.value(QStringLiteral("space"));
    m_grid->removeWidget(shift);
    m_grid->removeWidget(space);
    const char *domains[] = {"com", "net", "org", "gov"};
    for (const char *domain : domains)
        m_grid->removeWidget(m_keys.value(QLatin1String(domain)));
    if (m_showTopLevelDomainKeys) {
        m_grid->addWidget(shift, 4, 0, 1, 2);
        m_grid->addWidget(space, 4, 2, 1, 5);
        for (int i = 0; i < 4; ++i) {
            QPushButton *key = m_keys.value(QLatin1String(domains[i]));
            m_grid->addWidget(key, 4, 7 + i);
            key->show();
        }
    } else {
        m_grid->addWidget(shift, 4, 1, 1, 2);
        m_grid->addWidget(space, 4, 4, 1, 5);
        for (const char *domain : domains)
            m_keys.value(QLatin1String(domain))->hide();
    }
    relabel();
}

void KeyPad::showTopLevelDomainKeys(bool show)
{
    m_showTopLevelDomainKeys = show;
    if (m_style == ALPHA_STYLE) {
        placeBottomRow();
        adjustSize();
    }
}

void KeyPad::relabel()
{
    for (const auto &key : charKeys) {
        if (qstrcmp(key.id, "space") == 0)
            continue;
        if (QPushButton *button = m_keys.value(QLatin1String(key.id))) {
            button->setText(QString::fromUtf8(m_shift ? key.shifted : key.plain));
        }
    }
}

void KeyPad::redrawText()
{
    const std::pair<const char *, const char *> labels[] = {
        {"next", QT_TRANSLATE_NOOP("KeyPad", "Next Field")},
        {"clear", QT_TRANSLATE_NOOP("KeyPad", "Clear")},
        {"back", QT_TRANSLATE_NOOP("KeyPad", "Backspace")},
        {"shift", QT_TRANSLATE_NOOP("KeyPad", "Shift ")},
        {"space", QT_TRANSLATE_NOOP("KeyPad", "Space Bar")},
    };
    for (const auto &[id, text] : labels) {
        if (QPushButton *button = m_keys.value(QLatin1String(id)))
            setKeyText(button, QCoreApplication::translate("KeyPad", text));
    }
}

// Keys keep the grid's widths: a translation longer than its key goes on two
// lines, broken at the space nearest the middle.
void KeyPad::setKeyText(QPushButton *key, const QString &text)
{
    const QStyle *style = key->style();
    const int room = key->minimumWidth() - style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, key)
        - 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, key);
    QString shown = text.trimmed();
    if (key->fontMetrics().horizontalAdvance(shown) > room) {
        int best = -1;
        for (int at = shown.indexOf(QLatin1Char(' ')); at >= 0;
             at = shown.indexOf(QLatin1Char(' '), at + 1)) {
            if (best < 0 || qAbs(at - shown.size() / 2) < qAbs(best - shown.size() / 2))
                best = at;
        }
        if (best >= 0)
            shown[best] = QLatin1Char('\n');
    }
    key->setText(shown == text.trimmed() ? text : shown);
    key->setAccessibleName(text.trimmed());
}

void KeyPad::positionDialog()
{
    // The owning dialog places the keypad.
}

QLineEdit *KeyPad::focusedLineEdit() const
{
    QWidget *focus = m_owner ? m_owner->focusWidget() : nullptr;
    auto *edit = qobject_cast<QLineEdit *>(focus);
    if (!edit || edit->isReadOnly() || !edit->isEnabled())
        return nullptr;
    return edit;
}

void KeyPad::touched()
{
    // A touch on the keypad is activity in the dialog being typed into.
    if (auto *dialog = qobject_cast<TsBaseDialog *>(m_owner))
        dialog->restartTimerOnActivity();
}

void KeyPad::AddChar(const QString &text)
{
    touched();
    QLineEdit *edit = focusedLineEdit();
    if (!edit)
        return;
    // insert() replaces a selection and honours the field's length limit and
    // validator, as typing on a real keyboard would.
    edit->insert(text);
    m_text += text;
    QCoreApplication::postEvent(edit, new QFocusEvent(QEvent::FocusIn, ::Qt::OtherFocusReason));
}

void KeyPad::typeKey(const char *id)
{
    if (const CharKey *key = findKey(id))
        AddChar(QString::fromUtf8(m_shift ? key->shifted : key->plain));
}

void KeyPad::hitBack()
{
    touched();
    QLineEdit *edit = focusedLineEdit();
    if (!edit)
        return;
    edit->backspace();
    m_text.chop(1);
    QCoreApplication::postEvent(edit, new QFocusEvent(QEvent::FocusIn, ::Qt::OtherFocusReason));
}

void KeyPad::hitClear()
{
    touched();
    QLineEdit *edit = focusedLineEdit();
    if (!edit)
        return;
    edit->clear();
    m_text.clear();
    QCoreApplication::postEvent(edit, new QFocusEvent(QEvent::FocusIn, ::Qt::OtherFocusReason));
}

void KeyPad::hitNextField()
{
    touched();
    QWidget *focus = m_owner ? m_owner->focusWidget() : nullptr;
    if (!focus)
        return;
    QFocusEvent focusOut(QEvent::FocusOut, ::Qt::TabFocusReason);
    QCoreApplication::sendEvent(focus, &focusOut);
    QKeyEvent tab(QEvent::KeyPress, ::Qt::Key_Tab, ::Qt::NoModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(focus, &tab);
    if (auto *edit = qobject_cast<QLineEdit *>(m_owner->focusWidget())) {
        edit->selectAll();
        QCoreApplication::postEvent(edit, new QFocusEvent(QEvent::FocusIn, ::Qt::OtherFocusReason));
    }
}

void KeyPad::hitShift()
{
    touched();
    m_shift = !m_shift;
    if (QPushButton *shift = m_keys.value(QStringLiteral("shift")))
        shift->setChecked(m_shift);
    relabel();
}

void KeyPad::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == ::Qt::Key_Escape && m_owner) {
        m_owner->close();
        return;
    }
    TsBaseDialog::keyPressEvent(event);
}

void KeyPad::hitA()
{
    typeKey("a");
}
void KeyPad::hitB()
{
    typeKey("b");
}
void KeyPad::hitC()
{
    typeKey("c");
}
void KeyPad::hitD()
{
    typeKey("d");
}
void KeyPad::hitE()
{
    typeKey("e");
}
void KeyPad::hitF()
{
    typeKey("f");
}
void KeyPad::hitG()
{
    typeKey("g");
}
void KeyPad::hitH()
{
    typeKey("h");
}
void KeyPad::hitI()
{
    typeKey("i");
}
void KeyPad::hitJ()
{
    typeKey("j");
}
void KeyPad::hitK()
{
    typeKey("k");
}
void KeyPad::hitL()
{
    typeKey("l");
}
void KeyPad::hitM()
{
    typeKey("m");
}
void KeyPad::hitN()
{
    typeKey("n");
}
void KeyPad::hitO()
{
    typeKey("o");
}
void KeyPad::hitP()
{
    typeKey("p");
}
void KeyPad::hitQ()
{
    typeKey("q");
}
void KeyPad::hitR()
{
    typeKey("r");
}
void KeyPad::hitS()
{
    typeKey("s");
}
void KeyPad::hitT()
{
    typeKey("t");
}
void KeyPad::hitU()
{
    typeKey("u");
}
void KeyPad::hitV()
{
    typeKey("v");
}
void KeyPad::hitW()
{
    typeKey("w");
}
void KeyPad::hitX()
{
    typeKey("x");
}
void KeyPad::hitY()
{
    typeKey("y");
}
void KeyPad::hitZ()
{
    typeKey("z");
}
void KeyPad::hit0()
{
    typeKey("0");
}
void KeyPad::hit1()
{
    typeKey("1");
}
void KeyPad::hit2()
{
    typeKey("2");
}
void KeyPad::hit3()
{
    typeKey("3");
}
void KeyPad::hit4()
{
    typeKey("4");
}
void KeyPad::hit5()
{
    typeKey("5");
}
void KeyPad::hit6()
{
    typeKey("6");
}
void KeyPad::hit7()
{
    typeKey("7");
}
void KeyPad::hit8()
{
    typeKey("8");
}
void KeyPad::hit9()
{
    typeKey("9");
}
void KeyPad::hitSpace()
{
    typeKey("space");
}
void KeyPad::hitBSlash()
{
    typeKey("bslash");
}
void KeyPad::hitFSlash()
{
    typeKey("fslash");
}
void KeyPad::hitLBracket()
{
    typeKey("lbracket");
}
void KeyPad::hitRBracket()
{
    typeKey("rbracket");
}
void KeyPad::hitColons()
{
    typeKey("colons");
}
void KeyPad::hitQuotes()
{
    typeKey("quotes");
}
void KeyPad::hitComma()
{
    typeKey("comma");
}
void KeyPad::hitPeriod()
{
    typeKey("period");
}
void KeyPad::hitMinus()
{
    typeKey("minus");
}
void KeyPad::hitEqual()
{
    typeKey("equal");
}
void KeyPad::hitTilde()
{
    typeKey("tilde");
}
void KeyPad::hitAtSign()
{
    typeKey("at");
}
void KeyPad::hitDotCom()
{
    typeKey("com");
}
void KeyPad::hitDotNet()
{
    typeKey("net");
}
void KeyPad::hitDotOrg()
{
    typeKey("org");
}
void KeyPad::hitDotGov()
{
    typeKey("gov");
}
