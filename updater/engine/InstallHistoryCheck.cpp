#include "InstallHistoryCheck.h"

#include "platform/InstallerPrograms.h"

#include <QDateTime>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>
#include <QVector>

#include <algorithm>

namespace {

// A history record is written after the installer started; its date has whole seconds.
constexpr qint64 kRecordDateToleranceMs = 5000;

// The install history as read at one moment.
struct InstallHistoryView {
    bool usable = false;
    QDomDocument document;
    QDomNode records; // the array of records, oldest first; null when the history holds none
};

InstallHistoryView readInstallHistory()
{
    InstallHistoryView view;
    QFile history(InstallerPrograms::installHistory());
    if (!history.exists() || !history.open(QIODevice::ReadOnly))
        return view;
    if (!view.document.setContent(QString::fromUtf8(history.readAll())))
        return view;
    const QDomElement root = view.document.documentElement();
    if (root.tagName().compare("plist", Qt::CaseInsensitive) != 0)
        return view;
    view.usable = true;
    view.records = root.firstChild();
    return view;
}

QString recordText(const QDomNode& record)
{
    QString text;
    QTextStream stream(&text);
    record.save(stream, -1);
    return text;
}

QStringList recordTexts(const InstallHistoryView& history)
{
    QStringList texts;
    for (QDomNode record = history.records.firstChild(); !record.isNull(); record = record.nextSibling())
        texts.append(recordText(record));
    return texts;
}

// Where the records added since the package's first installer started begin. A history kept at a
// fixed length drops its oldest records as it adds one, so the records it held at the start open it,
// less those dropped; the fewest drops that fit leave the fewest records new. The newest record alone
// would not do: the record of the same file in the same second reads the same. A history that no
// longer begins with them, rewritten or put in another order, does not tell what is new; only the
// dates do.
int firstRecordSinceStart(const QStringList& texts, const QStringList& atStart)
{
    for (int dropped = 0; dropped < atStart.size(); ++dropped) {
        const int kept = atStart.size() - dropped;
        if (kept <= texts.size() && std::equal(atStart.begin() + dropped, atStart.end(), texts.begin()))
            return kept;
    }
    return 0;
}

// When the record says it was made; invalid when it does not say.
QDateTime recordDate(const QDomNode& record)
{
    for (QDomElement key = record.firstChildElement("key"); !key.isNull(); key = key.nextSiblingElement("key")) {
        if (key.text() != "date")
            continue;
        const QDomElement value = key.nextSiblingElement();
        return value.tagName() == "date" ? QDateTime::fromString(value.text(), Qt::ISODate) : QDateTime();
    }
    return QDateTime();
}

// How closely a record names an installer: by the installer's own file name, or by a text that only
// occurs in its path, as the record of "a.pkg" does in that of "ba.pkg".
enum class RecordMatch { None, InPath, FileName };

RecordMatch recordMatch(const QDomNode& record, const QString& installerPath)
{
    const QString fileName = QFileInfo(installerPath).fileName();
    RecordMatch match = RecordMatch::None;
    for (QDomNode child = record.firstChild(); !child.isNull(); child = child.nextSibling()) {
        const QDomElement element = child.toElement();
        if (element.isNull() || element.tagName() != "string" || element.text().isEmpty() ||
            !installerPath.contains(element.text()))
            continue;
        if (element.text() == fileName)
            return RecordMatch::FileName;
        match = RecordMatch::InPath;
    }
    return match;
}

// A record that names the installer and is fresh enough to be of its run.
struct Candidate {
    int index = -1;
    RecordMatch match = RecordMatch::None;
    bool datedBeforeStart = false; // within the tolerance, but before the second the installer started in
};

Candidate candidate(const QDomNode& record, int index, const InstallerStart& installer)
{
    const QDateTime date = recordDate(record);
    if (date.isValid() && date.toMSecsSinceEpoch() < installer.atMs - kRecordDateToleranceMs)
        return Candidate();
    const qint64 startSecondMs = installer.atMs - installer.atMs % 1000;
    return Candidate{index, recordMatch(record, installer.path),
                     date.isValid() && date.toMSecsSinceEpoch() < startSecondMs};
}

// Records come oldest first. One naming the installer's own file goes first, so that another
// installer whose name contains this one's does not take its record. Then the oldest dated from the
// installer's start on, so that an installer started earlier leaves the record of one started later
// with the same file name to it; and among those dated a little before, the one nearest the start.
bool precedes(const Candidate& record, const Candidate& chosen)
{
    if (record.match != chosen.match)
        return record.match > chosen.match;
    if (record.datedBeforeStart != chosen.datedBeforeStart)
        return !record.datedBeforeStart;
    return record.datedBeforeStart;
}

} // namespace

namespace InstallHistoryCheck {

void noteHistoryAtStart(ClaimedRecords& claimed)
{
    if (!claimed.atFirstStart)
        claimed.atFirstStart = recordTexts(readInstallHistory());
}

// Installers of one package run together and record in any order, so any record naming the package
// will do, as long as no other installer of the package took it first.
Verdict claimRecord(const InstallerStart& installer, ClaimedRecords& claimed)
{
    const InstallHistoryView history = readInstallHistory();
    if (!history.usable)
        return Verdict::Unusable;
    QVector<QDomNode> records;
    for (QDomNode record = history.records.firstChild(); !record.isNull(); record = record.nextSibling())
        records.append(record);
    const QStringList texts = recordTexts(history);
    // Identical records cannot be told apart: the first of them stand for those already taken.
    QHash<QString, int> passed;
    Candidate chosen;
    for (int index = firstRecordSinceStart(texts, claimed.atFirstStart.value_or(QStringList())); index < records.size();
         ++index) {
        if (passed[texts.at(index)]++ < claimed.taken.value(texts.at(index)))
            continue;
        const Candidate record = candidate(records.at(index), index, installer);
        if (record.match != RecordMatch::None && precedes(record, chosen))
            chosen = record;
    }
    if (chosen.index < 0)
        return Verdict::NotConfirmed;
    ++claimed.taken[texts.at(chosen.index)];
    return Verdict::Confirmed;
}

} // namespace InstallHistoryCheck
