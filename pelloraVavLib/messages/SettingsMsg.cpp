#include "SettingsMsg.h"

#include "HexEncrypt.h"
#include "MessageFields_p.h"
#include "TraceMask.h"

#include <limits>

namespace {

// A page limit is never negative: a number beyond int would otherwise wrap
// into one and switch the limit off.
int toPageLimit(const QString &value)
{
    const unsigned long limit = value.toULong();
    return limit > static_cast<unsigned long>(std::numeric_limits<int>::max())
        ? std::numeric_limits<int>::max()
        : static_cast<int>(limit);
}

} // namespace

// Field A, the staff password (see setCodedField).
const bool SettingsMsg::SECRET_FIELDS_DECLARED
    = Tessaly::Core::TraceMask::declare(MESSAGE_ID, {QStringLiteral("A"), {}, 0});

SettingsMsg::SettingsMsg(
    std::unique_ptr<Tessaly::Core::MessageHandler> handler, UtilsLib::Observer *observer)
    : Message(std::move(handler), observer)
{ }

std::unique_ptr<Tessaly::Core::Message> SettingsMsg::clone() const
{
    return std::make_unique<SettingsMsg>(*this);
}

QString SettingsMsg::toText()
{
    return QString();
}

void SettingsMsg::enableUserIdInputFilter(bool enabled, const QString &exceptions)
{
    m_userIdInputFilterEnabled = enabled;
    m_userIdInputFilterExceptions = enabled ? exceptions : QString();
}

void SettingsMsg::enableUserPinInputFilter(bool enabled, const QString &exceptions)
{
    m_userPinInputFilterEnabled = enabled;
    m_userPinInputFilterExceptions = enabled ? exceptions : QString();
}

bool SettingsMsg::fromText(const QString &text)
{
    const QStringList fields = MessageFields::split(text);
    if (!MessageFields::hasUnsignedId(fields, MESSAGE_ID))
        return false;
    // The settings are pushed whole or in part: a field left out keeps its value.
    for (qsizetype i = 2; i < fields.size(); ++i)
        setCodedField(fields.at(i));
    return true;
}

void SettingsMsg::setCodedField(const QString &field)
{
    const QString value = MessageFields::codedValue(field);
    switch (field.at(0).unicode()) {
    case 'A':
        m_password = UtilsLib::HexEncrypt::decryptData(value);
        break;
    case 'B':
        m_stalloIntegration = MessageFields::toFlag(value);
        break;
    case 'C':
        m_stalloPageLimit = toPageLimit(value);
        break;
    case 'D':
        m_stalloAllowOverride = MessageFields::toFlag(value);
        break;
    case 'E':
        m_stalloId = MessageFields::toFlag(value);
        break;
    case 'F':
        m_maskUserId = MessageFields::toFlag(value);
        break;
    case 'G':
        m_defaultPrinter = value;
        break;
    case 'H':
        m_stalloUseDescription = MessageFields::toFlag(value);
        break;
    case 'I':
        m_thirdPartyUserInfoPath = value;
        break;
    case 'J':
        m_siteName = value;
        break;
    case 'L':
        m_httpPort = value.toInt();
        break;
    case 'M':
        m_stalloUseLanguage = MessageFields::toFlag(value);
        break;
    case 'N':
        m_stalloUserCredentialsPort = value.toInt();
        break;
    case 'O':
        m_languageSwitchingAllowed = MessageFields::toFlag(value);
        break;
    case 'P':
        m_supportedLanguageDialects = value;
        break;
    case 'Q':
        m_defaultLanguageDialect = value;
        break;
    case 'R':
        m_userIdInputFilterEnabled = MessageFields::toFlag(value);
        break;
    case 'S':
        m_userIdInputFilterExceptions = value;
        break;
    case 'T':
        m_userPinInputFilterEnabled = MessageFields::toFlag(value);
        break;
    case 'U':
        m_userPinInputFilterExceptions = value;
        break;
    default: // K and unknown codes carry nothing the client uses
        break;
    }
}
