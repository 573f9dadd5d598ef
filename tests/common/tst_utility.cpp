#include "common/basUtility.h"

#include "resources/PathText.h"
#include "resources/StringTable.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QUuid>

#include <gtest/gtest.h>

using namespace qv;

namespace {

struct PathCase
{
    const char *path;
    bool invalid;
};

class InvalidPath : public ::testing::TestWithParam<PathCase>
{};

struct AccessKeyCase
{
    const char *caption;
    char key;
    const char *result;
};

class AccessKey : public ::testing::TestWithParam<AccessKeyCase>
{};

} // namespace

TEST_P(InvalidPath, FollowsThePathTextRules)
{
    EXPECT_EQ(IsInvalidPath(QString::fromUtf8(GetParam().path)), GetParam().invalid) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, InvalidPath,
    ::testing::Values(PathCase{"C:\\a.cfg", false}, PathCase{"\\home\\me\\team.cfg", false},
                      PathCase{"team.cfg", false}, PathCase{"C:a.cfg", true}, PathCase{"a:b", true},
                      PathCase{"C:", true}, PathCase{":\\a", true}, PathCase{"C:\\what?.cfg", true},
                      PathCase{"/home/me/a.cfg", false},
                      PathCase{"/home/me/Données 2024:Q1.xlsx", false}, PathCase{"/home/me/a?.xls", true}, PathCase{"C:\\*.cfg", true},
                      PathCase{"C:\\a\"b", true}, PathCase{"C:\\<a>", true}, PathCase{"a|b", true},
                      PathCase{"", false}));

TEST_P(AccessKey, MarksTheFirstMatchIgnoringCase)
{
    EXPECT_EQ(AddAccessKey(QString::fromUtf8(GetParam().caption), QLatin1Char(GetParam().key)),
              QString::fromUtf8(GetParam().result));
}

INSTANTIATE_TEST_SUITE_P(Captions, AccessKey,
                         ::testing::Values(AccessKeyCase{"Field", 'e', "Fi&eld"}, AccessKeyCase{"Field", 'F', "&Field"},
                                           AccessKeyCase{"Field", 'f', "&Field"}, AccessKeyCase{"Field", 'z', "Field"},
                                           AccessKeyCase{"", 'a', ""}));

TEST(PathProcedures, JoinSplitAndExist)
{
    EXPECT_EQ(JoinPath(QStringLiteral("\\data"), QStringLiteral("a.cfg")), QStringLiteral("\\data\\a.cfg"));
    EXPECT_EQ(JoinPath(QStringLiteral("\\data\\"), QStringLiteral("a.cfg")), QStringLiteral("\\data\\a.cfg"));
    EXPECT_EQ(FolderOfPath(QStringLiteral("\\data\\sub\\a.cfg")), QStringLiteral("\\data\\sub\\"));
    EXPECT_EQ(FolderOfPath(QStringLiteral("a.cfg")), QString());
    EXPECT_EQ(FileOfPath(QStringLiteral("\\data\\sub\\a.cfg")), QStringLiteral("a.cfg"));
    EXPECT_EQ(FileOfPath(QStringLiteral("a.cfg")), QStringLiteral("a.cfg"));
    EXPECT_EQ(CutAtNul(QStringLiteral("abc") + QChar(0) + QStringLiteral("def")), QStringLiteral("abc"));
    EXPECT_EQ(HelpFilePath(QStringLiteral("qvhelp.chm"), true),
              LocaleFolder() + QStringLiteral("\\qvhelp.chm::/popups.txt"));

    QTemporaryDir dir;
    const QString folderText = SystemPathText(dir.path());
    QFile file(dir.filePath(QStringLiteral("a.cfg")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(FileExists(JoinPath(folderText, QStringLiteral("a.cfg"))));
    EXPECT_FALSE(FileExists(folderText));
    EXPECT_FALSE(FileExists(JoinPath(folderText, QStringLiteral("b.cfg"))));
    EXPECT_FALSE(FileExists(QString()));
}

TEST(ResourceStrings, ParametersAndMissingLibrary)
{
    SetResourceLibrary(std::make_shared<const StringTable>(StringTable::Parse(
        "1\tOpen %s now, %s!\n2\t%1 and %2, %1 again\n3\tNo markers 100%\n4\t%s is %1\n")));
    EXPECT_EQ(LoadResString(1, {QStringLiteral("A"), QStringLiteral("B")}), QStringLiteral("Open A now, A!"));
    EXPECT_EQ(LoadResString(2, {QStringLiteral("x"), QStringLiteral("y")}), QStringLiteral("x and y, x again"));
    EXPECT_EQ(LoadResString(2), QStringLiteral("%1 and %2, %1 again"));
    EXPECT_EQ(LoadResString(3, {QStringLiteral("p")}), QStringLiteral("No markers 100%"));
    EXPECT_EQ(LoadResString(4, {QStringLiteral("v")}), QStringLiteral("v is v"));
    EXPECT_EQ(LoadResString(99), QString());
    SetResourceLibrary(nullptr);
    EXPECT_EQ(LoadResString(1, {QStringLiteral("A")}), QString());
    EXPECT_EQ(LoadResourceLibrary(QStringLiteral("\\nowhere\\qvres.txt")), nullptr);
}

TEST(TextProcedures, TitlesAndGuids)
{
    EXPECT_EQ(WindowTitle(QStringLiteral("Quorivo Data View Wizard"), QString(), QString::fromLatin1(kUntitled)),
              QStringLiteral("Quorivo Data View Wizard - (Untitled)"));
    EXPECT_EQ(WindowTitle(QStringLiteral("T"), QStringLiteral("Clients"), QStringLiteral("(Untitled)")),
              QStringLiteral("T - Clients"));
    EXPECT_EQ(GuidText(QUuid(QStringLiteral("{00112233-4455-6677-8899-AABBCCDDEEFF}"))),
              QStringLiteral("33221100554477668899AABBCCDDEEFF"));
    const QString a = NewGuidText();
    EXPECT_EQ(a.size(), 32);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{32}$")).match(a).hasMatch()) << a.toStdString();
    EXPECT_NE(a, NewGuidText());
}

TEST(TextProcedures, OneLineShortening)
{
    const QString messy = QStringLiteral("Name\tAddress") + QChar(7) + QStringLiteral("Bell") + QChar(31)
                          + QStringLiteral("Gone\r\nNext");
    EXPECT_EQ(OneLineText(messy), QStringLiteral("Name Address BellGone  Next"));
    QString words;
    for (int i = 0; i < 30; ++i)
        words += QStringLiteral("word%1 ").arg(i);
    const QString shortened = OneLineText(words);
    EXPECT_LE(shortened.size(), 100);
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("...")));
    EXPECT_TRUE(words.startsWith(shortened.chopped(3))); // cut at a word end
    EXPECT_TRUE(shortened.chopped(3).back().isDigit());
    const QString oneWord(300, QLatin1Char('x'));
    EXPECT_EQ(OneLineText(oneWord).size(), 100);
    EXPECT_EQ(OneLineText(QStringLiteral("short")), QStringLiteral("short"));
}

TEST(Controls, FillComboFromCollection)
{
    Collection texts;
    texts.Add(Variant(QStringLiteral("First\tentry")));
    texts.Add(Variant(QString(150, QLatin1Char('y'))));
    Collection data;
    data.Add(Variant(qint32(10)));
    data.Add(Variant(qint32(20)));
    QComboBox list;
    list.addItem(QStringLiteral("stale"));
    FillComboFromCollection(&list, texts, &data, true);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.itemText(0), QStringLiteral("First entry"));
    EXPECT_EQ(list.itemText(1).size(), 100);
    EXPECT_EQ(list.itemData(1).toInt(), 20);
    EXPECT_EQ(list.currentIndex(), 0);

    QComboBox editable;
    editable.setEditable(true);
    FillComboFromCollection(&editable, texts);
    EXPECT_EQ(editable.currentText(), QStringLiteral("First\tentry"));
    Collection none;
    FillComboFromCollection(&list, none);
    EXPECT_EQ(list.count(), 0);
}

TEST(Controls, TidyAndSelectTextBoxes)
{
    QWidget form;
    auto *edit = new QLineEdit(QStringLiteral("  padded  "), &form);
    auto *memo = new QPlainTextEdit(QStringLiteral("line one\nline two"), &form);
    auto *combo = new QComboBox(&form);
    combo->setEditable(true);
    combo->setEditText(QStringLiteral("typed text"));
    TidyEditControl(edit);
    EXPECT_EQ(edit->text(), QStringLiteral("padded"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("padded"));
    combo->lineEdit()->selectAll();
    TidyEditControl(combo);
    EXPECT_FALSE(combo->lineEdit()->hasSelectedText());
    EXPECT_EQ(combo->lineEdit()->cursorPosition(), 0);
    TidyEditControl(nullptr); // ignored

    edit->deselect();
    memo->selectAll();
    SelectAllTextBoxes(&form);
    EXPECT_EQ(edit->selectedText(), QStringLiteral("padded"));
    EXPECT_FALSE(memo->textCursor().hasSelection());
    EXPECT_FALSE(combo->lineEdit()->hasSelectedText());
}
