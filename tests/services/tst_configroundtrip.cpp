// Whatever a store reads, it writes back into a file that reads the same;
// what it cannot write it refuses, and a damaged file is refused whole.
#include "config/ConfigStore.h"

#include "automation/ComError.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::config;

namespace {

std::shared_ptr<ConfigStore> Read(const QByteArray &xml)
{
    auto store = ConfigStore::Create();
    store->ReadXml(xml, QStringLiteral("team.cfg"));
    return store;
}

struct RoundTrip
{
    const char *name;
    QByteArray file;
    const char *kept; // a text the saved file must hold
};

class RoundTripTest : public ::testing::TestWithParam<RoundTrip>
{
};

// Saved once, read again and saved again: the two saves are the same bytes
// and the kept text is still there.
TEST_P(RoundTripTest, SavedFileReadsBackTheSame)
{
    const QByteArray saved = Read(GetParam().file)->ToXml();
    std::shared_ptr<ConfigStore> again;
    ASSERT_NO_THROW(again = Read(saved)) << saved.toStdString();
    EXPECT_EQ(again->ToXml(), saved);
    EXPECT_TRUE(saved.contains(GetParam().kept)) << saved.toStdString();
}

// Inputs that once made a saved file stop opening or change on every save.
INSTANTIATE_TEST_SUITE_P(
    ConfigRoundTrip, RoundTripTest,
    ::testing::Values(
        RoundTrip{"prefixedAttribute", R"(<qvconfig xmlns:x="urn:x" version="1" x:flag="1"/>)", R"(x:flag="1")"},
        RoundTrip{"prefixedAttributeOnAView",
                  R"(<qvconfig xmlns:x="urn:x"><dataView id="1" name="V" x:name="other"/></qvconfig>)",
                  R"(x:name="other")"},
        RoundTrip{"prefixedElement", R"(<qvconfig xmlns:x="urn:x"><x:theme x:shade="dark"><x:c/></x:theme></qvconfig>)",
                  R"(<x:theme xmlns:x="urn:x" x:shade="dark">)"},
        RoundTrip{"ownDeclaration", R"(<qvconfig><x:t xmlns:x="urn:x"><y:u xmlns:y="urn:y" x:a="1"/></x:t></qvconfig>)",
                  R"(<y:u xmlns:y="urn:y" x:a="1"/>)"},
        RoundTrip{"redeclaredInside", R"(<qvconfig xmlns:x="urn:a"><x:t><x:u xmlns:x="urn:b"/></x:t></qvconfig>)",
                  R"(<x:u xmlns:x="urn:b"/>)"},
        RoundTrip{"defaultNamespace", R"(<qvconfig xmlns="urn:d"><theme/></qvconfig>)", R"(<theme xmlns="urn:d"/>)"},
        RoundTrip{"xmlLang", R"(<qvconfig xml:lang="de"><t xml:lang="fr"/></qvconfig>)", R"(xml:lang="de")"},
        RoundTrip{"escapedBreaksAndTabs",
                  "<qvconfig name=\"a&#13;&#10;b&#9;c\"><t>&#13;\n<!-- note --><?pi data?></t></qvconfig>",
                  "<t>&#13;\n<!-- note --><?pi data?></t>"},
        RoundTrip{"cdataAndAstral", "<qvconfig name=\"\xF0\x9F\x98\x80\"><t><![CDATA[<&>]]></t></qvconfig>",
                  "<![CDATA[<&>]]>"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ConfigRoundTrip, TextsAFileCannotHoldAreRefusedAtTheSave)
{
    const struct
    {
        QString text;
        const char *says;
    } cases[] = {
        {QStringLiteral("half ") + QChar(0xD83D), "holds the character U+D83D"},
        {QChar(0xDE00) + QStringLiteral(" half"), "holds the character U+DE00"},
        {QStringLiteral("bell\x07"), "holds the character U+0007"},
        {QStringLiteral("nul") + QChar(0), "holds the character U+0000"},
        {QStringLiteral("not a character ") + QChar(0xFFFF), "holds the character U+FFFF"},
    };
    // Each text as a data view's name and as the store's own (once written unchecked).
    for (const auto &c : cases) {
        for (const bool onView : {true, false}) {
            auto store = Read("<qvconfig><dataView id=\"1\" name=\"V\"/></qvconfig>");
            (onView ? store->DataViewCollection().Item(1)->Name : store->Name) = c.text;
            try {
                store->ToXml();
                ADD_FAILURE() << "no error for " << c.says;
            } catch (const ComError &e) {
                EXPECT_EQ(e.Number(), kErrorCannotWrite);
                EXPECT_TRUE(e.Description().contains(QLatin1String(c.says))) << e.Description().toStdString();
            }
        }
    }
    // A whole character outside the first plane is no half.
    auto store = Read("<qvconfig/>");
    store->Name = QStringLiteral("smile \U0001F600");
    EXPECT_EQ(Read(store->ToXml())->Name, store->Name);
}

TEST(ConfigRoundTrip, ZeroBytesInsideAFileAreRefused)
{
    const QByteArray zeros(64, '\0');
    const QByteArray files[] = {
        "<qvconfig><dataView id=\"1\" name=\"V\"><field id=\"2\" name=\"F\"/>" + zeros +
            "<field id=\"3\" name=\"G\"/></dataView></qvconfig>",
        "<qvconfig><dataView id=\"1\" name=\"V" + zeros + "\"/></qvconfig>",
        "<qvconfig><theme>dark" + zeros + "</theme></qvconfig>",
        "<qvconfig><dataView id=\"1\"/></qvconfig>" + zeros,
        "<qvconfig><dataView id=\"1\"/>" + zeros,
    };
    for (const QByteArray &file : files) {
        try {
            Read(file);
            ADD_FAILURE() << "a file with zero bytes must be refused: " << qsizetype(file.indexOf('\0'));
        } catch (const ComError &e) {
            EXPECT_EQ(e.Number(), kErrorUnreadable);
            EXPECT_TRUE(e.Description().contains(u"team.cfg\" cannot be read: line 1: the file holds zero bytes"))
                << e.Description().toStdString();
        }
    }
}

} // namespace
