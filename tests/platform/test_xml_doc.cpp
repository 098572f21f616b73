#include "platform/Exception.h"
#include "support/TempDir.h"
#include "platform/XmlDoc.h"

#include <QDir>
#include <gtest/gtest.h>

using platform::XmlDocument;
using platform::XmlNode;

TEST(XmlDoc, WritesWithoutDeclarationWithTheCommentAfterTheRoot)
{
    XmlDocument doc;
    XmlNode root = doc.AddRoot(QStringLiteral("Par_Gen"));
    doc.AddComment(QStringLiteral("SW_VERSION = 1.006"));
    root.AddChild(QStringLiteral("Name")).SetText(QStringLiteral("  spaced \u00E8 <&> "));
    root.AddChild(QStringLiteral("row")).SetAttribute(QStringLiteral("Topic"), QStringLiteral("a\"b"));
    const QByteArray bytes = doc.SaveToBytes();
    EXPECT_EQ(bytes, QByteArray("<Par_Gen>\n  <Name>  spaced \xC3\xA8 &lt;&amp;&gt; </Name>\n"
                                "  <row Topic=\"a&quot;b\" />\n</Par_Gen>\n<!--SW_VERSION = 1.006-->\n"));

    XmlDocument back;
    back.LoadFromBytes(bytes);
    const XmlNode r = back.DocumentElement();
    EXPECT_EQ(r.NodeName(), QStringLiteral("Par_Gen"));
    EXPECT_EQ(r.ChildByName(QStringLiteral("Name")).Text(), QStringLiteral("  spaced \u00E8 <&> "));
    EXPECT_EQ(r.ChildByName(QStringLiteral("row")).Attribute(QStringLiteral("Topic")), QStringLiteral("a\"b"));
    EXPECT_EQ(r.ChildNodes().size(), 2u);
    // Null nodes answer empty values instead of failing.
    EXPECT_TRUE(r.ChildByName(QStringLiteral("none")).ChildByName(QStringLiteral("x")).Text().isEmpty());
    EXPECT_FALSE(r.ChildByName(QStringLiteral("row")).HasAttribute(QStringLiteral("QoS")));
}

TEST(XmlDoc, LoadErrorsNameTheFile)
{
    TempDir dir;
    const struct {
        const char* Name;
        QByteArray Contents;
    } cases[] = {{"broken.xml", "<a><b></a>"}, {"empty.xml", ""}, {"text.xml", "just text"}};
    for (const auto& c : cases) {
        dir.Write(c.Name, c.Contents);
        XmlDocument doc;
        try {
            doc.LoadFromFile(dir.File(c.Name));
            FAIL() << c.Name;
        } catch (const platform::Exception& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.Name))) << e.message().toStdString();
        }
        EXPECT_TRUE(doc.DocumentElement().IsNull());
    }
    XmlDocument doc;
    EXPECT_THROW(doc.LoadFromFile(dir.File(QStringLiteral("missing.xml"))), platform::Exception);
}

TEST(XmlDoc, FlatDocumentsHoldNoWhiteSpaceBetweenElements)
{
    XmlDocument doc;
    XmlNode root = doc.AddRoot(QStringLiteral("R"));
    doc.AddComment(QStringLiteral("SW_VERSION = 1.000"));
    root.AddChild(QStringLiteral("C")).AddChild(QStringLiteral("row")).SetAttribute(QStringLiteral("A"), QStringLiteral(" a "));
    root.AddChild(QStringLiteral("E"));
    EXPECT_EQ(doc.SaveToBytes(XmlDocument::Layout::Flat),
              QByteArray("<R><C><row A=\" a \"/></C><E/></R><!--SW_VERSION = 1.000-->"));
}

// A document cut short keeps what was read before the fault, and says where the fault is; one
// without any element keeps nothing.
TEST(XmlDoc, PartOfABrokenFileIsKeptWhenAsked)
{
    TempDir dir;
    dir.Write("cut.xml", "<R><C><row A=\"1\"/><row A=\"2\"/><row A=\"3");
    XmlDocument doc;
    const QString fault = doc.LoadPartFromFile(dir.File(QStringLiteral("cut.xml")));
    EXPECT_TRUE(fault.contains(QStringLiteral("cut.xml"))) << fault.toStdString();
    const XmlNode c = doc.DocumentElement().ChildByName(QStringLiteral("C"));
    ASSERT_GE(c.ChildNodes().size(), 2u);
    EXPECT_EQ(c.ChildNodes()[1].Attribute(QStringLiteral("A")), QStringLiteral("2"));

    dir.Write("text.xml", "just text");
    EXPECT_FALSE(doc.LoadPartFromFile(dir.File(QStringLiteral("text.xml"))).isEmpty());
    EXPECT_TRUE(doc.DocumentElement().IsNull());

    dir.Write("whole.xml", "<R/>");
    EXPECT_TRUE(doc.LoadPartFromFile(dir.File(QStringLiteral("whole.xml"))).isEmpty());
    EXPECT_EQ(doc.DocumentElement().NodeName(), QStringLiteral("R"));
    EXPECT_THROW(doc.LoadPartFromFile(dir.File(QStringLiteral("missing.xml"))), platform::Exception);
}

// Cut at every byte, a broken file keeps every row read whole and no other: never a row with a
// value cut short or an attribute missing.
TEST(XmlDoc, ACutFileKeepsNoHalfRow)
{
    TempDir dir;
    const QByteArray whole = "<R><C><row A=\"5.6\" B='x>y'/><row A=\"12.34\" B=\"q\"/><row A=\"7\" B=\"\"/></C></R>";
    const QStringList a = {"5.6", "12.34", "7"}, b = {"x>y", "q", ""};
    XmlDocument doc;
    for (qsizetype cut = 1; cut < whole.size(); ++cut) {
        SCOPED_TRACE(whole.left(cut).toStdString());
        dir.Write("cut.xml", whole.left(cut));
        doc.LoadPartFromFile(dir.File(QStringLiteral("cut.xml")));
        const XmlNode c = doc.DocumentElement().IsNull() ? XmlNode() : doc.DocumentElement().ChildByName(QStringLiteral("C"));
        if (c.IsNull())
            continue;
        const std::vector<XmlNode> rows = c.ChildNodes();
        ASSERT_EQ(rows.size(), size_t(whole.left(cut).count("/>")));  // every whole row, no other
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_TRUE(rows[i].HasAttribute(QStringLiteral("B"))) << i;
            EXPECT_EQ(rows[i].Attribute(QStringLiteral("A")), a[int(i)]) << i;
            EXPECT_EQ(rows[i].Attribute(QStringLiteral("B")), b[int(i)]) << i;
        }
    }
}

TEST(XmlDoc, SavingReplacesTheFileWholeOrReportsTheFailure)
{
    TempDir dir;
    XmlDocument doc;
    doc.AddRoot(QStringLiteral("R"));
    doc.SaveToFile(dir.File(QStringLiteral("f.xml")));
    EXPECT_EQ(dir.Read(QStringLiteral("f.xml")), QByteArray("<R />\n"));
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files), QStringList{QStringLiteral("f.xml")});

    EXPECT_THROW(doc.SaveToFile(dir.File(QStringLiteral("no-folder/f.xml"))), platform::Exception);
}

// Large files are read without copies: names, texts and attributes as views into the document.
TEST(XmlDoc, ViewsReadTheDocumentInPlace)
{
    XmlDocument doc;
    doc.LoadFromBytes("<R><a>t\xC3\xA8xt</a><b/><row x=\"1\" y=\"&lt;2&gt;\" x=\"dup\"/></R>");
    const std::vector<XmlNode> children = doc.DocumentElement().ChildNodes();
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[0].NameUtf8(), "a");
    EXPECT_EQ(children[0].TextUtf8(), "t\xC3\xA8xt");
    EXPECT_EQ(children[1].TextUtf8(), "");
    std::vector<std::pair<std::string, std::string>> attributes;
    children[2].ForEachAttributeUtf8(
        [&](std::string_view name, std::string_view value) { attributes.emplace_back(name, value); });
    const std::vector<std::pair<std::string, std::string>> expected = {{"x", "1"}, {"y", "<2>"}, {"x", "dup"}};
    EXPECT_EQ(attributes, expected);

    // A null node has no name, no text and no attributes.
    const XmlNode none = doc.DocumentElement().ChildByName(QStringLiteral("none"));
    EXPECT_EQ(none.NameUtf8(), "");
    EXPECT_EQ(none.TextUtf8(), "");
    int calls = 0;
    none.ForEachAttributeUtf8([&](std::string_view, std::string_view) { ++calls; });
    EXPECT_EQ(calls, 0);
}
