#include <gtest/gtest.h>

#include <QFile>
#include <QRandomGenerator>

#include "platform/Exception.h"
#include "platform/formats/Workbook.h"
#include "platform/formats/ZipPackage.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"

using namespace platform;

namespace {

// What a number text must be: read as a number and written back, the same text.
bool ReadsBackTheSame(const QString& text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) && SheetNumberText(v) == text;
}

TEST(SheetNumbers, OnlyTextsThatReadBackTheSameAreNumbers)
{
    const struct {
        const char* text;
        bool number;
    } cases[] = {
        {"0", true},           {"-0", false},         {"007", false},       {"12.5", true},
        {"12.50", false},      {".5", false},         {"5.", false},        {"-3", true},
        {"+3", false},         {"1e+20", true},       {"1e20", false},      {"0.0001", true},
        {"0.00001", false},    {"1e-05", true},       {"123456789012345", true},
        {"1234567890123456", false},                  {"1234567.12345678", true},
        {"0.123456789012345", true},                  {"0.1234567890123456", false},
        {"1 000", false},      {"", false},           {"-", false},         {"1.2.3", false},
        {"nan", false},        {"inf", false},        {"1e400", false},
    };
    for (const auto& k : cases) {
        double v = 0;
        EXPECT_EQ(IsSheetNumber(QString::fromLatin1(k.text), v), k.number) << k.text;
        EXPECT_EQ(ReadsBackTheSame(QString::fromLatin1(k.text)), k.number) << k.text;
    }
    // Number texts have at most 15 significant digits, the exponent with a sign and two digits.
    const struct {
        double value;
        const char* text;
    } texts[] = {{12.5, "12.5"},   {0.1 + 0.2, "0.3"},     {-7, "-7"},       {1e20, "1e+20"},
                 {1e-5, "1e-05"}, {123456789012345, "123456789012345"}, {1e15, "1e+15"}, {-0.0, "0"}};
    for (const auto& k : texts)
        EXPECT_EQ(SheetNumberText(k.value), QLatin1String(k.text)) << k.text;
    // Random texts of number characters: the quick decision agrees with reading back.
    QRandomGenerator random(7);
    const char alphabet[] = "0123456789-.e+00000";
    for (int i = 0; i < 200000; ++i) {
        QString text;
        const int length = 1 + int(random.bounded(18));
        for (int j = 0; j < length; ++j)
            text += QChar(alphabet[random.bounded(int(sizeof alphabet - 1))]);
        double v = 0;
        ASSERT_EQ(IsSheetNumber(text, v), ReadsBackTheSame(text)) << text.toStdString();
    }
}

// The uncompressed size of the first member, in its local header and in the central directory.
void Lie(QByteArray& zip, quint32 size)
{
    auto put = [&](qsizetype at) {
        for (int i = 0; i < 4; ++i)
            zip[at + i] = char((size >> (8 * i)) & 0xFF);
    };
    ASSERT_TRUE(zip.startsWith("PK\x03\x04"));
    put(22);
    const qsizetype central = zip.indexOf(QByteArray("PK\x01\x02", 4));
    ASSERT_GT(central, 0);
    put(central + 24);
}

TEST(ZipPackage, AMemberIsCappedByItsClaimAndByWhatItUnpacksTo)
{
    TempDir dir;
    const QString path = dir.File(QStringLiteral("p.zip"));
    {
        TZipPackage pkg(path, TZipPackage::zmCreate);
        pkg.Put(QStringLiteral("big.xml"), QByteArray(100000, 'a'));
        pkg.Commit();
    }
    {
        TZipPackage pkg(path, TZipPackage::zmRead);
        EXPECT_TRUE(pkg.Has(QStringLiteral("BIG.xml")));
        EXPECT_EQ(pkg.Read(QStringLiteral("big.xml")).size(), 100000);
        try {
            pkg.Read(QStringLiteral("big.xml"), 1000);
            ADD_FAILURE() << "a member beyond the cap was read";
        } catch (const Exception& e) {
            EXPECT_TRUE(e.message().contains(QLatin1String("more than 1000 bytes"))) << e.what();
        }
    }
    // A member that claims 10 bytes and unpacks to 100,000 stops at the cap.
    QByteArray bytes = dir.Read(QStringLiteral("p.zip"));
    Lie(bytes, 10);
    dir.Write(QStringLiteral("p.zip"), bytes);
    TZipPackage pkg(path, TZipPackage::zmRead);
    try {
        pkg.Read(QStringLiteral("big.xml"), 1000);
        ADD_FAILURE() << "a member beyond the cap was read";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("more than 1000 bytes"))) << e.what();
    }
    EXPECT_THROW(pkg.Read(QStringLiteral("missing.xml")), Exception);
}

TEST(ZipPackage, AChangeThatIsNotCommittedLeavesTheFile)
{
    TempDir dir;
    const QString path = dir.File(QStringLiteral("p.zip"));
    {
        TZipPackage pkg(path, TZipPackage::zmCreate);
        pkg.Put(QStringLiteral("a.xml"), "<a/>");
        pkg.Commit();
    }
    const QByteArray before = dir.Read(QStringLiteral("p.zip"));
    {
        TZipPackage pkg(path, TZipPackage::zmModify);
        pkg.Put(QStringLiteral("a.xml"), "<changed/>");
        pkg.Put(QStringLiteral("b.xml"), "<b/>");
    }
    EXPECT_EQ(dir.Read(QStringLiteral("p.zip")), before);
    TZipPackage pkg(path, TZipPackage::zmModify);
    pkg.Put(QStringLiteral("A.XML"), "<changed/>");
    pkg.Commit();
    TZipPackage again(path, TZipPackage::zmRead);
    EXPECT_EQ(again.Read(QStringLiteral("a.xml")), QByteArray("<changed/>"));
}

}  // namespace
