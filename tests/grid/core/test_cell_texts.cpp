#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "grid/core/CellTexts.h"
#include "grid/core/ExtStringGrid.h"

using namespace grid;

namespace cell_texts_test {

// Plain vector of strings as the reference the compact row must agree with.
struct TModel {
    std::vector<QString> Cells;

    QString At(int c) const { return c >= 0 && size_t(c) < Cells.size() ? Cells[size_t(c)] : QString(); }
    void Set(int c, const QString& v)
    {
        if (size_t(c) >= Cells.size()) {
            if (v.isEmpty())
                return;
            Cells.resize(size_t(c) + 1);
        }
        Cells[size_t(c)] = v;
    }
};

void ExpectSame(const TCellTexts& row, const TModel& model, const char* step)
{
    ASSERT_EQ(row.Size(), int(model.Cells.size())) << step;
    for (int c = 0; c <= row.Size(); ++c) {
        ASSERT_EQ(row.At(c), model.At(c)) << step << " cell " << c;
        ASSERT_EQ(row.IsEmptyAt(c), model.At(c).isEmpty()) << step << " cell " << c;
    }
}

QString RandomText(std::mt19937& rng)
{
    static const QString pieces[] = {QString(), QStringLiteral("a"), QStringLiteral("meter 12"), QStringLiteral("Zähler"),
                                     QStringLiteral("Straße, \"x\""), QString::fromUtf8("温度"),
                                     QString::fromUtf8("\xF0\x9F\x98\x80"), QStringLiteral("line\r\nnext"),
                                     QString(300, QChar(u'x'))};
    QString text;
    const int n = int(rng() % 3);
    for (int k = 0; k < n; ++k)
        text += pieces[rng() % std::size(pieces)];
    return text;
}

TEST(CellTexts, EveryOperationAgreesWithOneStringPerCell)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        TCellTexts row;
        TModel model;
        for (int step = 0; step < 200; ++step) {
            const int c = int(rng() % 12);
            const int n = int(rng() % 4);
            switch (rng() % 7) {
            case 0:
            case 1:
            case 2: {
                const QString v = RandomText(rng);
                row.Set(c, v);
                model.Set(c, v);
                ExpectSame(row, model, "set");
                break;
            }
            case 3:
                row.Resize(c);
                model.Cells.resize(size_t(c));
                ExpectSame(row, model, "resize");
                break;
            case 4:
                if (size_t(c) <= model.Cells.size()) {
                    row.Insert(c, n);
                    model.Cells.insert(model.Cells.begin() + c, size_t(n), QString());
                }
                ExpectSame(row, model, "insert");
                break;
            case 5:
                if (size_t(c) < model.Cells.size()) {
                    row.Erase(c, n);
                    model.Cells.erase(model.Cells.begin() + c,
                                      model.Cells.begin() + std::min(model.Cells.size(), size_t(c + n)));
                }
                ExpectSame(row, model, "erase");
                break;
            default: {
                const int to = int(rng() % 12);
                row.Move(c, to);
                if (c != to) {
                    model.Cells.resize(std::max(model.Cells.size(), size_t(std::max(c, to)) + 1));
                    QString t = model.Cells[size_t(c)];
                    model.Cells.erase(model.Cells.begin() + c);
                    model.Cells.insert(model.Cells.begin() + to, t);
                }
                ExpectSame(row, model, "move");
                break;
            }
            }
            if (step % 50 == 49) {
                row.ShrinkToFit();
                ExpectSame(row, model, "shrink");
            }
        }
    }
}

TEST(CellTexts, ARowOfShortTextsTakesLittleMoreThanItsCharacters)
{
    std::vector<QString> texts;
    for (int c = 0; c < 20; ++c)
        texts.push_back(QStringLiteral("Zähler %1 flow, return").arg(c, 3));
    size_t chars = 0;
    for (const QString& t : texts)
        chars += size_t(t.size());

    const TCellTexts exact(texts);
    EXPECT_EQ(exact.Bytes(), chars + 20 * sizeof(uint32_t));  // Latin-1: one byte a character

    TCellTexts filled;
    filled.Resize(20);
    for (int c = 0; c < 20; ++c)
        filled.Set(c, texts[size_t(c)]);
    EXPECT_LE(filled.Bytes(), exact.Bytes() * 3 / 2);
    filled.ShrinkToFit();
    EXPECT_EQ(filled.Bytes(), exact.Bytes());
    for (int c = 0; c < 20; ++c)
        EXPECT_EQ(filled.At(c), texts[size_t(c)]);
}

TEST(CellTexts, OneCharacterBeyondLatin1WidensTheRowAndKeepsTheOthers)
{
    TCellTexts row;
    row.Set(0, QStringLiteral("Straße"));
    row.Set(2, QStringLiteral("ÿ"));
    row.Set(1, QString::fromUtf8("\xF0\x9F\x98\x80 ok"));  // a surrogate pair
    EXPECT_EQ(row.At(0), QStringLiteral("Straße"));
    EXPECT_EQ(row.At(1), QString::fromUtf8("\xF0\x9F\x98\x80 ok"));
    EXPECT_EQ(row.At(2), QStringLiteral("ÿ"));
    row.Set(1, QString());
    EXPECT_TRUE(row.IsEmptyAt(1));
    EXPECT_EQ(row.At(2), QStringLiteral("ÿ"));
}

TEST(CellTexts, AMovedRowLeavesAnEmptyOne)
{
    TCellTexts a(std::vector<QString>{QStringLiteral("x"), QStringLiteral("y")});
    TCellTexts b(std::move(a));
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(a.At(0), QString());
    EXPECT_EQ(b.At(1), QStringLiteral("y"));
}

// A loaded record goes through the grid's load hook per cell, and keeps what a row already holds.
TEST(CellTexts, ALoadedRowTakesTheBlockOnlyWhenNothingIsLost)
{
    const std::vector<QString> record{QStringLiteral("a"), QStringLiteral("b")};
    TExtStringGrid g;
    g.SetColCount(4);
    g.SetRowCount(4);

    g.SetCells(0, 1, QStringLiteral("fixed"));
    g.LoadRow(1, 1, TCellTexts(record));
    g.LoadRow(1, 2, TCellTexts(record));
    for (int r : {1, 2}) {
        EXPECT_EQ(g.Cells(1, r), QStringLiteral("a"));
        EXPECT_EQ(g.Cells(2, r), QStringLiteral("b"));
    }
    EXPECT_EQ(g.Cells(0, 1), QStringLiteral("fixed"));
    EXPECT_EQ(g.Cells(0, 2), QString());

    g.OnLoadCell = [](TExtStringGrid*, int, int, QString& v) { v = v.toUpper(); };
    g.LoadRow(0, 3, TCellTexts(record));
    EXPECT_EQ(g.Cells(0, 3), QStringLiteral("A"));
    EXPECT_EQ(g.Cells(1, 3), QStringLiteral("B"));
}

}  // namespace cell_texts_test
