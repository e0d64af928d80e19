#include "CSetup_CommandLine.h"

#include "engine/UpdateRun.h"

#include <QStringList>

namespace {

std::string utf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

} // namespace

CSetup_CommandLine::CSetup_CommandLine() = default;

bool CSetup_CommandLine::ProcessCmdLine(QString commandLine)
{
    QString word;
    bool inQuotes = false;
    for (const QChar c : commandLine) {
        if (inQuotes) {
            if (c == '"') {
                inQuotes = false;
                if (!ProcessCmdWord(word))
                    return false;
                word.clear();
            } else {
                word.append(c);
            }
        } else if (c == ' ' || c == '\t') {
            if (!word.isEmpty() && !ProcessCmdWord(word))
                return false;
            word.clear();
        } else if (c == '"') {
            inQuotes = true;
            word.clear();
        } else {
            word.append(c);
        }
    }
    return ProcessCmdWord(word);
}

bool CSetup_CommandLine::ProcessCmdWord(QString& word)
{
    if (word.isEmpty())
        return true;
    if (word[0] == '-' || word[0] == '/') {
        if (word.size() < 2)
            return false;
        if (ProcessSwitch(word.mid(1)))
            return true;
    }
    return ProcessValue(word);
}

bool CSetup_CommandLine::ProcessSwitch(const QString& name)
{
    if (name == "updater") {
        m_bUpdater = true;
        m_bInstall = false;
        return true;
    }
    if (name == "run") {
        m_bRun = true;
        return true;
    }
    if (name == "insForceUpdate") {
        m_bInsForceUpdate = true;
        return true;
    }
    if (name == "install") {
        if (!m_bUpdater)
            m_bInstall = true;
        return true;
    }
    if (name == "bInternalService") {
        m_bInternalService = true;
        return true;
    }

    static const struct {
        const char* name;
        Pending mark;
    } valueSwitches[] = {
        {"hwnd", PendingHwnd},
        {"readerpath", PendingReaderPath},
        {"regpath", PendingRegPath},
        {"version", PendingVersion},
        {"readerlang", PendingReaderLang},
        {"specialName", PendingSpecialName},
        {"UpdateMode", PendingUpdateMode},
        {"InternalUpdateURL", PendingInternalUpdateURL},
        {"RollBackURL", PendingRollBackURL},
        {"UserEmail", PendingUserEmail},
        {"SessionID", PendingSessionID},
        {"VzipPath", PendingVzipPath},
        {"PackageType", PendingPackageType},
        {"Edition", PendingEdition},
        {"userhanderdata", PendingUserHanderData},
        {"certeutlurl", PendingCertEutlUrl},
        {"katlfile", PendingKatlFile},
        {"eutlfile", PendingEutlFile},
        {"certkatlurl", PendingCertKatlUrl},
        {"downtype", PendingDownType},
    };
    for (const auto& entry : valueSwitches) {
        if (name == QLatin1String(entry.name)) {
            m_pending[entry.mark] = true;
            return true;
        }
    }
    // "type" names the updater type only once "updater" was given; before that it is an ordinary value.
    if (name == "type" && m_bUpdater) {
        m_pending[PendingType] = true;
        return true;
    }
    return false;
}

bool CSetup_CommandLine::ProcessValue(const QString& value)
{
    for (int mark = 0; mark < PendingCount; ++mark) {
        if (mark == PendingType && !m_bUpdater)
            continue;
        if (m_pending[mark]) {
            m_pending[mark] = false;
            TakeValue(static_cast<Pending>(mark), value);
            return true;
        }
    }
    return false;
}

void CSetup_CommandLine::TakeValue(Pending mark, const QString& value)
{
    switch (mark) {
    case PendingHwnd:
    case PendingUserHanderData:
    case PendingCount:
        break;
    case PendingType:
        m_updaterType = utf8(value);
        break;
    case PendingReaderPath:
        m_readerPath = utf8(value);
        break;
    case PendingRegPath:
        m_regPath = utf8(value);
        break;
    case PendingVersion:
        m_readerVersion = utf8(value);
        break;
    case PendingReaderLang:
        m_readerLang = utf8(value);
        break;
    case PendingSpecialName:
        m_specialName = utf8(value);
        break;
    case PendingVzipPath:
        Split(value, "|");
        break;
    case PendingInternalUpdateURL:
        m_internalUpdateURL = utf8(value);
        break;
    case PendingRollBackURL:
        m_rollBackURL = utf8(value);
        break;
    case PendingUserEmail:
        m_userEmail = utf8(value);
        break;
    case PendingSessionID:
        m_sessionID = utf8(value);
        break;
    case PendingCertEutlUrl:
        m_eutlCertUrl = value;
        break;
    case PendingKatlFile:
        m_katlFile = value;
        break;
    case PendingEutlFile:
        m_eutlFile = value;
        break;
    case PendingCertKatlUrl:
        m_katlCertUrl = value;
        break;
    case PendingDownType:
        m_downType = value;
        break;
    case PendingPackageType:
        m_packageType = utf8(value);
        break;
    case PendingUpdateMode:
        if (value == "0" || value == "1" || value == "2")
            m_autoUpdateMode = utf8(value);
        break;
    case PendingEdition:
        m_edition = utf8(value);
        break;
    }
}

void CSetup_CommandLine::Split(QString value, QString separator)
{
    const int firstSemicolon = value.indexOf(';');
    const QString packagePart = firstSemicolon < 0 ? value : value.left(firstSemicolon);
    const QString rest = firstSemicolon < 0 ? QString() : value.mid(firstSemicolon + 1);

    if (!rest.isEmpty()) {
        m_bRollback = true;
        if (UpdateRun* run = UpdateRun::current())
            run->bRollback = true;
        const int second = rest.indexOf(';');
        if (second >= 0) {
            m_rollBackURL = utf8(rest.left(second));
            const QString afterUrl = rest.mid(second + 1);
            const int third = afterUrl.indexOf(';');
            if (third >= 0)
                m_userEmail = utf8(afterUrl.left(third));
        }
    }

    m_vzipPaths.clear();
    for (const QString& piece : packagePart.split(separator)) {
        if (!piece.isEmpty())
            m_vzipPaths.push_back(utf8(piece));
    }
}
