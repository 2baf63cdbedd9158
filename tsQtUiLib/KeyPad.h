#pragma once

#include "TsBaseDialog.h"

#include <QHash>

class QGridLayout;
class QPushButton;

// The on-screen keyboard of a kiosk dialog: a full keyboard (style 1) or a
// numeric pad (any other style). Each key types into the focused line edit of
// the owning dialog; the keypad itself never takes the focus.
class KeyPad : public TsBaseDialog
{
    Q_OBJECT
public:
    static constexpr int ALPHA_STYLE = 1;

    KeyPad(QWidget *owner, int style);

    QString text() const { return m_text; }
    void resetText() { m_text.clear(); }
    int style() const { return m_style; }
    bool isShifted() const { return m_shift; }
    void showTopLevelDomainKeys(bool show);
    bool topLevelDomainKeysShown() const { return m_showTopLevelDomainKeys; }
    // The button of a key ("a", "7", "com", "shift", "next", ...), null when
    // this style has no such key.
    QPushButton *key(const QString &id) const { return m_keys.value(id); }

public slots:
    void redrawText() override;
    void positionDialog() override;

    void hitA();
    void hitB();
    void hitC();
    void hitD();
    void hitE();
    void hitF();
    void hitG();
    void hitH();
    void hitI();
    void hitJ();
    void hitK();
    void hitL();
    void hitM();
    void hitN();
    void hitO();
    void hitP();
    void hitQ();
    void hitR();
    void hitS();
    void hitT();
    void hitU();
    void hitV();
    void hitW();
    void hitX();
    void hitY();
    void hitZ();
    void hit0();
    void hit1();
    void hit2();
    void hit3();
    void hit4();
    void hit5();
    void hit6();
    void hit7();
    void hit8();
    void hit9();
    void hitBack();
    void hitClear();
    void hitNextField();
    void hitShift();
    void hitSpace();
    void hitBSlash();
    void hitFSlash();
    void hitLBracket();
    void hitRBracket();
    void hitColons();
    void hitQuotes();
    void hitComma();
    void hitPeriod();
    void hitMinus();
    void hitEqual();
    void hitTilde();
    void hitAtSign();
    void hitDotCom();
    void hitDotNet();
    void hitDotOrg();
    void hitDotGov();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildAlpha();
    void buildNumeric();
    QPushButton *addKey(const QString &id, int row, int column, int columnSpan, int width);
    static void setKeyText(QPushButton *key, const QString &text);
    void typeKey(const char *id);
    void AddChar(const QString &text);
    class QLineEdit *focusedLineEdit() const;
    void touched();
    void placeBottomRow();
    void relabel();

    QWidget *m_owner;
    QGridLayout *m_grid;
    QString m_text;
    bool m_showTopLevelDomainKeys = false;
    bool m_shift = false;
    int m_style;
    QHash<QString, QPushButton *> m_keys;
};
