// Rows as DVUser hands them to the editor (recordsets of text fields), the
// editor's memory of them, and its host services object reached by name.

#include "DocumentWriter.h"
#include "HostServices.h"
#include "SamplesSetup.h"
#include "SelectionMemory.h"

#include "ado/Recordset.h"
#include "ado/Stream.h"
#include "biz/Settings.h"
#include "scripting/Collection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <gtest/gtest.h>

using namespace qvdemo;
using qv::Variant;
using qv::ado::Recordset;

namespace {

// A formatted selection: text fields of 500 characters, as Insert Data gives them.
std::shared_ptr<Recordset> Selection()
{
    auto rs = Recordset::Create();
    rs->Fields().Append(QStringLiteral("Name"), qv::ado::adVarWChar, 500);
    rs->Fields().Append(QStringLiteral("Credit Limit"), qv::ado::adVarWChar, 500);
    rs->Open();
    rs->AddNew({Variant("Name"), Variant("Credit Limit")}, {Variant("Ann Berg"), Variant("1,500.00")});
    rs->AddNew({Variant("Name"), Variant("Credit Limit")}, {Variant("Bo Dahl"), Variant::Null()});
    rs->AddNew({Variant("Name"), Variant("Credit Limit")}, {Variant("Cy Eng"), Variant("20.00")});
    return rs;
}

} // namespace

TEST(DemoRows, RecordsetRowsBecomeCaptionsAndTexts)
{
    const RowTable rows = RowsFromRecordset(Selection());
    EXPECT_EQ(rows.Headers, (QStringList{"Name", "Credit Limit"}));
    EXPECT_EQ(rows.Rows, (QList<QStringList>{{"Ann Berg", "1,500.00"}, {"Bo Dahl", ""}, {"Cy Eng", "20.00"}}));
}

TEST(DemoRows, OnlyTheRowsTheFilterShowsInItsOrder)
{
    auto rs = Selection();
    rs->SetFilter(QList<Variant>{Variant(3.0), Variant(1.0)});
    const RowTable rows = RowsFromRecordset(rs);
    EXPECT_EQ(rows.Rows, (QList<QStringList>{{"Cy Eng", "20.00"}, {"Ann Berg", "1,500.00"}}));
}

TEST(DemoRows, NoRecordsetOrNoRowsWritesNothing)
{
    EXPECT_TRUE(RowsFromRecordset(nullptr).IsEmpty());
    auto empty = Recordset::Create();
    empty->Fields().Append(QStringLiteral("Name"), qv::ado::adVarWChar, 500);
    EXPECT_TRUE(RowsFromRecordset(empty).IsEmpty()); // closed
    empty->Open();
    const RowTable rows = RowsFromRecordset(empty);
    EXPECT_EQ(rows.Headers, QStringList{"Name"});
    EXPECT_TRUE(rows.IsEmpty());
}

TEST(DemoRows, SelectionWrittenAsTableWithHeader)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    ASSERT_TRUE(WriteRows(cursor, RowsFromRecordset(Selection()),
                          InsertChoice{FormatTypeTableWithHeader, {}, InsertPositionAfter}, StyleBook::Demo()));
    QTextTable *table = qobject_cast<QTextTable *>(doc.rootFrame()->childFrames().value(0));
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rows(), 4);
    const auto text = [table](int r, int c) {
        QTextCursor at = table->cellAt(r, c).firstCursorPosition();
        at.setPosition(table->cellAt(r, c).lastPosition(), QTextCursor::KeepAnchor);
        return at.selectedText();
    };
    EXPECT_EQ(text(0, 1), QStringLiteral("Credit Limit"));
    EXPECT_EQ(text(1, 1), QStringLiteral("1,500.00"));
    EXPECT_EQ(text(2, 1), QString());
    EXPECT_EQ(text(3, 0), QStringLiteral("Cy Eng"));
}

TEST(SelectionMemory, KeepsSettingsAndRowsPerDataView)
{
    SelectionMemory memory;
    auto settings = std::make_shared<qv::biz::Settings>();
    settings->FormatType = FormatTypeSentence;
    auto chosen = Selection();
    chosen->SetFilter(QList<Variant>{Variant(2.0)});
    memory.Remember(QStringLiteral("KEY-A"), settings, chosen);
    memory.Remember(QStringLiteral("KEY-B"), nullptr, nullptr);

    const Remembered a = memory.Recall(QStringLiteral("KEY-A"));
    EXPECT_EQ(a.Settings, settings);
    // The XML opens as a recordset holding exactly the chosen row.
    qv::ado::Stream stream;
    stream.Open();
    stream.WriteText(a.SelectedRowsXml);
    stream.SetPosition(0);
    auto reopened = Recordset::Create();
    reopened->Open(stream);
    EXPECT_EQ(RowsFromRecordset(reopened).Rows, (QList<QStringList>{{"Bo Dahl", ""}}));

    EXPECT_EQ(memory.Recall(QStringLiteral("KEY-B")).SelectedRowsXml, QString());
    EXPECT_EQ(memory.LastKey(), QStringLiteral("KEY-B"));
    EXPECT_EQ(memory.Recall(QStringLiteral("unknown")).Settings, nullptr);
}

TEST(HostServices, MembersAnswerWhenCalledByName)
{
    HostServices host(StyleBook::Demo(), QStringLiteral("samples-folder"));
    QStringList tables;
    ASSERT_TRUE(QMetaObject::invokeMethod(&host, "GetStyles", Q_RETURN_ARG(QStringList, tables), Q_ARG(int, 3),
                                          Q_ARG(bool, true)));
    EXPECT_EQ(tables, (QStringList{"Table Normal", "Grid", "Grid Blue", "Light List"}));
    QStringList paragraphs;
    QMetaObject::invokeMethod(&host, "GetStyles", Q_RETURN_ARG(QStringList, paragraphs), Q_ARG(int, 1),
                              Q_ARG(bool, false));
    EXPECT_EQ(paragraphs, (QStringList{"Body Text", "Quote", "Strong"}));
    QStringList none{"x"};
    QMetaObject::invokeMethod(&host, "GetStyles", Q_RETURN_ARG(QStringList, none), Q_ARG(int, 2), Q_ARG(bool, true));
    EXPECT_TRUE(none.isEmpty());

    QString team;
    ASSERT_TRUE(QMetaObject::invokeMethod(&host, "GetPath", Q_RETURN_ARG(QString, team), Q_ARG(int, 3)));
    EXPECT_EQ(team, QStringLiteral("samples-folder"));
    QString unknown = QStringLiteral("x");
    QMetaObject::invokeMethod(&host, "GetPath", Q_RETURN_ARG(QString, unknown), Q_ARG(int, 7));
    EXPECT_EQ(unknown, QString());

    auto *application = host.property("Application").value<QObject *>();
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(application->property("Version").toString(), QStringLiteral("1.0"));
}

TEST(HostServices, StyleCollectionsForInsertDataLeaveOutTheBuiltInStyles)
{
    HostServices host(StyleBook::Demo(), QString());
    auto tables = host.StyleCollection(HostServices::TableStyles);
    ASSERT_EQ(tables->Count(), 3);
    EXPECT_EQ(tables->Item(1).ToText(), QStringLiteral("Grid"));
    EXPECT_EQ(tables->Item(3).ToText(), QStringLiteral("Light List"));
}

TEST(SamplesSetup, SamplesReplaceOnlyAMissingPersonalConfiguration)
{
    QTemporaryDir folder;
    const QString samples = folder.filePath(QStringLiteral("samples"));
    const QString own = folder.filePath(QStringLiteral("own.cfg"));
    QDir().mkpath(samples);
    EXPECT_EQ(PersonalConfigurationToSet(QString(), samples), QString()); // no samples generated

    QFile(SampleConfigurationPath(samples)).open(QIODevice::WriteOnly);
    const QString sampleFile = QFileInfo(SampleConfigurationPath(samples)).absoluteFilePath();
    EXPECT_EQ(PersonalConfigurationToSet(QString(), samples), sampleFile);
    EXPECT_EQ(PersonalConfigurationToSet(own, samples), sampleFile); // set, but gone
    QFile(own).open(QIODevice::WriteOnly);
    EXPECT_EQ(PersonalConfigurationToSet(own, samples), QString());
}

// The key that finds rows again: the first visible column when it tells the
// chosen rows apart, every visible column when it does not or is not among
// them, and the settings' own keys when they name some.
TEST(SelectionMemory, TheKeyIsTheFirstColumnThatTellsTheRowsApart)
{
    const auto settings = [](std::initializer_list<std::pair<const char *, std::pair<bool, bool>>> columns) {
        auto result = std::make_shared<qv::biz::Settings>();
        for (const auto &[caption, flags] : columns) {
            auto setting = std::make_shared<qv::biz::ColumnSetting>();
            setting->Caption = QString::fromUtf8(caption);
            setting->Visible = flags.first;
            setting->Linked = flags.second;
            result->Columns->Add(setting, setting->Caption);
        }
        return result;
    };
    const auto linked = [](const std::shared_ptr<qv::biz::Settings> &s) {
        QStringList captions;
        for (const auto &column : *s->Columns) {
            if (column->Linked)
                captions << column->Caption;
        }
        return captions.join(u',');
    };
    auto duplicates = Selection();
    duplicates->AddNew({Variant("Name"), Variant("Credit Limit")}, {Variant("Ann Berg"), Variant("7.00")});

    auto byName = settings({{"Notes", {false, false}}, {"Name", {true, false}}, {"Credit Limit", {true, false}}});
    auto twice = settings({{"Name", {true, false}}, {"Notes", {false, false}}, {"Credit Limit", {true, false}}});
    auto elsewhere = settings({{"Id", {true, false}}, {"Name", {true, false}}});
    auto keyed = settings({{"Name", {true, false}}, {"Credit Limit", {true, true}}});
    SelectionMemory memory;
    memory.Remember(QStringLiteral("A"), byName, Selection());
    memory.Remember(QStringLiteral("B"), twice, duplicates);
    memory.Remember(QStringLiteral("C"), elsewhere, Selection());
    memory.Remember(QStringLiteral("D"), keyed, Selection());
    EXPECT_EQ(linked(byName), QStringLiteral("Name"));
    EXPECT_EQ(linked(twice), QStringLiteral("Name,Credit Limit")) << "Ann Berg twice is no key";
    EXPECT_EQ(linked(elsewhere), QStringLiteral("Id,Name"));
    EXPECT_EQ(linked(keyed), QStringLiteral("Credit Limit"));
    EXPECT_FALSE(memory.Recall(QStringLiteral("B")).SelectedRowsXml.isEmpty());
}
