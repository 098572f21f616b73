#pragma once
// Readers of the description files that are not the generators' own: xmllint, Python's
// configparser, an INI walk over the EDS object lists and the GSD keyword grammar; and golden files.
#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace description_readers {

// Compares bytes with a golden file of the test data; with CONF_UPDATE_GOLDEN=1 in the environment
// the file is written instead.
inline ::testing::AssertionResult MatchesGolden(const QByteArray& actual, const char* name)
{
    const QString path = QStringLiteral(TEST_DATA_DIR "/golden/") + QLatin1String(name);
    QFile f(path);
    if (qEnvironmentVariableIntValue("CONF_UPDATE_GOLDEN") == 1) {
        if (!f.open(QIODevice::WriteOnly) || f.write(actual) != actual.size())
            return ::testing::AssertionFailure() << "cannot write " << path.toStdString();
        return ::testing::AssertionSuccess();
    }
    if (!f.open(QIODevice::ReadOnly))
        return ::testing::AssertionFailure() << "no golden file " << path.toStdString();
    const QByteArray golden = f.readAll();
    if (golden == actual)
        return ::testing::AssertionSuccess();
    qsizetype at = 0;
    while (at < golden.size() && at < actual.size() && golden[at] == actual[at])
        ++at;
    return ::testing::AssertionFailure() << name << " differs from byte " << at << ": golden \""
                                         << golden.mid(at, 60).toStdString() << "\", made \""
                                         << actual.mid(at, 60).toStdString() << "\"";
}

// Runs a program with input on its standard input; its standard output, or a failure.
inline ::testing::AssertionResult Run(const QString& program, const QStringList& args, const QByteArray& input,
                                      QByteArray* out = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000))
        return ::testing::AssertionFailure() << program.toStdString() << " did not start";
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000))
        return ::testing::AssertionFailure() << program.toStdString() << " did not finish";
    if (out)
        *out = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return ::testing::AssertionFailure() << program.toStdString() << " refused: "
                                             << p.readAllStandardError().toStdString();
    return ::testing::AssertionSuccess();
}

// xmllint's well-formedness check.
inline ::testing::AssertionResult Xmllint_Accepts(const QByteArray& xml)
{
    return Run(QStringLiteral("xmllint"), {QStringLiteral("--noout"), QStringLiteral("-")}, xml);
}

// Python's configparser with strict duplicate checking reads the whole file; it answers the
// sections it read, one per line.
inline ::testing::AssertionResult Configparser_Reads(const QByteArray& eds, QStringList* sections = nullptr)
{
    static const char* script =
        "import configparser, sys\n"
        "p = configparser.ConfigParser(strict=True, interpolation=None)\n"
        "p.optionxform = str\n"
        "p.read_string(sys.stdin.buffer.read().decode('latin-1'))\n"
        "print('\\n'.join(p.sections()))\n";
    QByteArray out;
    auto result = Run(QStringLiteral("python3"), {QStringLiteral("-c"), QLatin1String(script)}, eds, &out);
    if (result && sections)
        *sections = QString::fromLatin1(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return result;
}

// The sections of an INI text: name -> key -> value (in-tree, without configparser's leniency:
// a line must be a header, a key=value or empty).
using Ini = QMap<QString, QMap<QString, QString>>;
inline ::testing::AssertionResult Parse_Ini(const QByteArray& text, Ini* ini)
{
    QString section;
    int n = 0;
    for (const QByteArray& raw : text.split('\n')) {
        ++n;
        const QString line = QString::fromLatin1(raw).chopped(raw.endsWith('\r') ? 1 : 0);
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).toUpper();
            if (ini->contains(section))
                return ::testing::AssertionFailure() << "line " << n << ": section " << section.toStdString() << " again";
            (*ini)[section];
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || section.isEmpty())
            return ::testing::AssertionFailure() << "line " << n << " is neither a header nor a key: " << line.toStdString();
        (*ini)[section][line.left(eq)] = line.mid(eq + 1);
    }
    return ::testing::AssertionSuccess();
}

// Every object the three lists name has its section; every object section with a SubNumber has
// exactly that many sub-index sections (named in hexadecimal), and every sub-index section belongs
// to a listed object.
inline ::testing::AssertionResult Eds_Objects_Consistent(const QByteArray& eds)
{
    Ini ini;
    if (auto parsed = Parse_Ini(eds, &ini); !parsed)
        return parsed;
    QStringList listed;
    for (const char* list : {"MANDATORYOBJECTS", "OPTIONALOBJECTS", "MANUFACTUREROBJECTS"}) {
        const auto keys = ini.value(QLatin1String(list));
        bool ok = false;
        const int count = keys.value(QStringLiteral("SupportedObjects")).toInt(&ok);
        if (!ok || keys.size() != count + 1)
            return ::testing::AssertionFailure() << list << ": SupportedObjects does not count its entries";
        for (int k = 1; k <= count; ++k) {
            const QString object = keys.value(QString::number(k));
            if (!object.startsWith(QLatin1String("0x")) || object.size() != 6)
                return ::testing::AssertionFailure() << list << " entry " << k << " is " << object.toStdString();
            listed << object.mid(2).toUpper();
        }
    }
    if (listed.removeDuplicates() != 0)
        return ::testing::AssertionFailure() << "an object is listed twice";
    static const QRegularExpression sub(QStringLiteral("^([0-9A-F]{4})SUB([0-9A-F]{1,2})$"));
    QMap<QString, int> subs;
    for (auto it = ini.cbegin(); it != ini.cend(); ++it) {
        const auto m = sub.match(it.key());
        if (m.hasMatch()) {
            if (!listed.contains(m.captured(1)))
                return ::testing::AssertionFailure() << "section " << it.key().toStdString() << " belongs to no listed object";
            ++subs[m.captured(1)];
        }
    }
    for (const QString& object : listed) {
        if (!ini.contains(object))
            return ::testing::AssertionFailure() << "object " << object.toStdString() << " has no section";
        const auto& keys = ini[object];
        if (keys.contains(QStringLiteral("SubNumber"))) {
            if (keys[QStringLiteral("SubNumber")].toInt() != subs.value(object))
                return ::testing::AssertionFailure() << "object " << object.toStdString() << ": SubNumber "
                                                     << keys[QStringLiteral("SubNumber")].toStdString() << " but "
                                                     << subs.value(object) << " sub-index sections";
        } else if (subs.value(object) != 0) {
            return ::testing::AssertionFailure() << "object " << object.toStdString() << " has sub-indexes but no SubNumber";
        }
    }
    return ::testing::AssertionSuccess();
}

// The GSD keyword grammar: every line is empty, a comment, a keyword with its value, a block
// keyword, or a data line of the block it stands in; blocks open and close in pairs; strings are
// quoted and numbers decimal or 0x-hexadecimal.
inline ::testing::AssertionResult Gsd_Grammar(const QByteArray& gsd)
{
    const QString num = QStringLiteral("(?:0x[0-9A-Fa-f]+|\\d+)");
    const QString str = QStringLiteral("\"[^\"]*\"");
    const QString assign = QStringLiteral("\\s*=\\s*");
    const QRegularExpression keyword(QStringLiteral("^([A-Za-z0-9_.]+)(?:\\((\\d+)\\))?") + assign +
                                     QStringLiteral("(.+)$"));
    const QRegularExpression value(QStringLiteral("^(?:%1|%2(?:,%2)*|%2 - %2|%2 %1|%1 %2(?:,%2)*|%1 %2 %2|"
                                                  "\\d+@[^@\"]+@[^@\"]+)$")
                                       .arg(str, num));
    const QRegularExpression data(QStringLiteral("^(?:Unsigned8|Unsigned16|Bit\\(\\d\\)) \\d+ \\d+-\\d+$"));
    const QRegularExpression moduleNumber(QStringLiteral("^\\d+$"));
    const QMap<QString, QString> blocks = {{QStringLiteral("PRMTEXT"), QStringLiteral("ENDPRMTEXT")},
                                           {QStringLiteral("EXTUSERPRMDATA"), QStringLiteral("ENDEXTUSERPRMDATA")},
                                           {QStringLiteral("MODULE"), QStringLiteral("ENDMODULE")},
                                           {QStringLiteral("UNIT_DIAG_AREA"), QStringLiteral("UNIT_DIAG_AREA_END")},
                                           {QStringLiteral("SLOTDEFINITION"), QStringLiteral("ENDSLOTDEFINITION")}};
    if (!gsd.endsWith("\r\n"))
        return ::testing::AssertionFailure() << "the last line has no CR LF";
    const QList<QByteArray> lines = gsd.chopped(2).split('\n');
    QString open;  // the block keyword in force
    for (int n = 0; n < lines.size(); ++n) {
        if (!lines[n].endsWith('\r') && n + 1 < lines.size())
            return ::testing::AssertionFailure() << "line " << n + 1 << " does not end in CR LF";
        const QString line = QString::fromLatin1(lines[n]).remove(QLatin1Char('\r'));
        auto fail = [&](const char* why) {
            return ::testing::AssertionFailure() << "line " << n + 1 << " (" << why << "): " << line.toStdString();
        };
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line == QLatin1String("#Profibus_DP"))
            continue;
        const QString upper = line.toUpper();
        if (!open.isEmpty() && upper == blocks[open]) {
            open.clear();
            continue;
        }
        if (upper == QLatin1String("SLOTDEFINITION")) {
            if (!open.isEmpty())
                return fail("block inside a block");
            open = upper;
            continue;
        }
        if (open == QLatin1String("EXTUSERPRMDATA") && data.match(line).hasMatch())
            continue;
        if (open == QLatin1String("MODULE") && moduleNumber.match(line).hasMatch())
            continue;
        const auto m = keyword.match(line);
        if (!m.hasMatch())
            return fail("not a keyword line");
        if (!value.match(m.captured(3).trimmed()).hasMatch())
            return fail("value out of the grammar");
        const QString key = m.captured(1).toUpper();
        if (blocks.contains(key)) {
            if (!open.isEmpty())
                return fail("block inside a block");
            open = key;
        } else if (open == QLatin1String("SLOTDEFINITION") && key != QLatin1String("SLOT")) {
            return fail("only slots stand in a slot definition");
        }
    }
    if (!open.isEmpty())
        return ::testing::AssertionFailure() << "block " << open.toStdString() << " is not closed";
    return ::testing::AssertionSuccess();
}

}  // namespace description_readers
