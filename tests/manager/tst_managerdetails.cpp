// The details pane's texts for each kind of node and selection.
#include "ManagerFixture.h"

#include "automation/ComError.h"
#include "manager/ManagerDetails.h"
#include "manager/ManagerNodes.h"

using namespace qv;
using namespace qv::manager;
using qv::test::ManagerTest;

namespace {

const QString crlf = QStringLiteral("\r\n");

QString Id(const std::shared_ptr<config::DataView> &view)
{
    return QString::number(view->Id());
}

// What the pane says for a selection of several items, of none or of one that is gone.
struct SummaryRow
{
    qint32 parent;
    QString id;
    int count;
    QString body;
};

void ExpectSummaries(qint32 node, const std::shared_ptr<config::ConfigStore> &store, std::initializer_list<SummaryRow> rows)
{
    for (const auto &row : rows)
        EXPECT_EQ(WriteDetails(node, row.parent, store, row.id, row.count).PlainText(), QStringLiteral("  ") + row.body)
            << row.body.toStdString();
}

} // namespace

TEST_F(ManagerTest, DataViewDetails)
{
    const auto excel = personal->DataViewCollection().ItemByName(QStringLiteral("customers"));
    excel->Description = QStringLiteral("Who buys");
    DetailsText text = WriteDetails(DataViewsFolder, PersonalRoot, personal, Id(excel), 1);
    EXPECT_EQ(text.sImageKey, QStringLiteral("Dataview"));
    // The Excel path is what stands between "Data Source=" and the next ";".
    EXPECT_EQ(text.PlainText(), QStringLiteral("  customers") + crlf + QStringLiteral("Who buys") + crlf + crlf
                                    + QStringLiteral("Details: /srv/data/Sales.xlsx") + crlf + crlf);
    ASSERT_EQ(text.colParagraphs.size(), 4u);
    EXPECT_TRUE(text.colParagraphs[1].bBold);
    EXPECT_EQ(text.colParagraphs[1].lSecondIndent, 100);
    EXPECT_FALSE(text.colParagraphs[3].bBold);

    // No "Data Source=" in an ODBC text: the whole text; no description: no paragraph.
    const auto odbc = personal->DataViewCollection().ItemByName(QStringLiteral("Budget"));
    EXPECT_EQ(WriteDetails(DataViewsFolder, PersonalRoot, personal, Id(odbc), 1).PlainText(),
              QStringLiteral("  Budget") + crlf + crlf + QStringLiteral("Details: DRIVER=SQLite3;Database=/srv/budget.db")
                  + crlf + crlf);

    ExpectSummaries(DataViewsFolder, personal, {
        {PersonalRoot, "1", 3, "3 Data Views are selected."},
        {TeamRoot, "", 0, "There are no Data Views in Team Data Views.\r\n"},
        {PersonalRoot, "", 0, "There are no Data Views in Personal Data Views.\r\n"},
        {0, "", 0, "There are no Data Views be selected.\r\n"},
        {PersonalRoot, "99999", 1, "There is no information about the selected Data View.\r\n"},
    });
}

TEST_F(ManagerTest, SmartTagDetails)
{
    auto set = personal->SmartTagSets().Item(1);
    auto tag = set->ItemByName(QStringLiteral("Cities"));
    tag->Description = QStringLiteral("Towns we sell in");
    const auto view = personal->DataViewCollection().ItemByName(QStringLiteral("Orders"));
    view->Fields.Add(QStringLiteral("City"));
    tag->Recognizer.SetDataView(view);
    tag->Recognizer.SetFieldName(QStringLiteral("City"));
    for (const char *term : {"Leeds", "York", "Hull", "Bath", "Ely"})
        tag->Recognizer.Included.Add(QString::fromLatin1(term));
    tag->Recognizer.Excluded.Add(QStringLiteral("Paris"));
    for (const char *action : {"Insert the orders", "View the orders"})
        tag->AddAction()->DisplayText = QString::fromLatin1(action);

    const DetailsText text = WriteDetails(SmartTagsFolder, PersonalRoot, personal, QString::number(tag->Id()), 1);
    EXPECT_EQ(text.sImageKey, QStringLiteral("Smarttag"));
    // Five included terms show two, then the third with "  ..."; the warnings join into one line.
    EXPECT_EQ(text.PlainText(), QStringLiteral("  Cities\r\nTowns we sell in\r\n\r\nRecognizer Information\r\n"
                                               "Data View: Orders\r\nField: City\r\n\r\n"
                                               "Included Terms: \r\nLeeds\r\nYork\r\nHull  ...\r\n\r\n"
                                               "Excluded Terms: \r\nParis\r\n\r\n"
                                               "Actions\r\nInsert the orders\r\nView the orders\r\n\r\n"
                                               "Warnings\r\nThe field is gone. Check the data view.\r\n\r\n"));

    // A tag without recognizer data view, terms, actions or warnings.
    auto stopped = set->ItemByName(QStringLiteral("Stopped"));
    EXPECT_EQ(WriteDetails(SmartTagsFolder, TeamRoot, personal, QString::number(stopped->Id()), 1).PlainText(),
              QStringLiteral("  Stopped\r\n\r\nRecognizer Information\r\n\r\n\r\nActions\r\n\r\n"));

    ExpectSummaries(SmartTagsFolder, personal, {
        {PersonalRoot, "1", 2, "2 Data View Smart Tags are selected."},
        {TeamRoot, "", 0, "There are no Data View Smart Tags in Team Data Views.\r\n"},
        {PersonalRoot, "", 0, "There are no Data View Smart Tags in Personal Data Views.\r\n"},
        {0, "", 0, "There are no Data View Smart Tags be selected.\r\n"},
        {PersonalRoot, "424242", 1, "There is no information about the selected Data View Smart Tag.\r\n"},
    });
}

TEST_F(ManagerTest, ConfigurationDetailsAndRefusedNode)
{
    const DetailsText text = WriteDetails(PersonalRoot, 0, personal, QString(), 1);
    EXPECT_EQ(text.sImageKey, QStringLiteral("Personal"));
    EXPECT_EQ(text.PlainText(), QStringLiteral("  My Views\r\nWhat I use\r\n\r\nFile Name: ") + personalPath
                                    + QStringLiteral("\r\n\r\n"));
    EXPECT_EQ(WriteDetails(TeamRoot, 0, team, QString(), 1).PlainText(),
              QStringLiteral("  Team Views\r\n\r\nFile Name: ") + teamPath + QStringLiteral("\r\n\r\n"));
    try {
        WriteDetails(DataViewItem, 0, personal, QString(), 0);
        ADD_FAILURE() << "a data view item has no details of its own";
    } catch (const ComError &error) {
        EXPECT_EQ(error.Number(), kErrorInvalidNode);
        EXPECT_EQ(error.Description(), QStringLiteral("unknown node type for launching addnew wizard"));
    }
}

TEST(ManagerDetailsText, LocationsMarkersAndWarnings)
{
    const struct
    {
        qint32 kind;
        const char *connection, *location;
    } rows[] = {
        {1, "FolderType=\"Contact\";FolderName=\"Suppliers\";StoreID=\"x\"", "Suppliers"},
        {2, "Provider=MSDASQL;dsn=Sales;UID=me", "Sales"},
        {3, "Provider=MSDASQL;DSN=Stock", "Stock"},
        {4, "Provider=Microsoft.Jet.OLEDB.4.0;data source=/x/B.xls;Extended Properties=Excel 8.0;", "/x/B.xls"},
        {4, "Provider=Microsoft.Jet.OLEDB.4.0", "Provider=Microsoft.Jet.OLEDB.4.0"},
        {5, "DRIVER=SQLite3;Database=a.db", "DRIVER=SQLite3;Database=a.db"},
        {6, "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source="},
        {7, "File Name=/dsn/a.dsn", "/dsn/a.dsn"},
        {8, "/pages/offices.html;Extended Properties=HTML;", "/pages/offices.html"},
        {8, ";extended Properties=HTML;", ";extended Properties=HTML;"},
        {0, "anything", "anything"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(GetSourceLocation(QString::fromUtf8(row.connection), row.kind), QString::fromUtf8(row.location))
            << row.kind << " " << row.connection;
    EXPECT_EQ(ExtractBetween(QStringLiteral("a=1;b=2"), QString(), QStringLiteral(";")), QString());
    EXPECT_EQ(ExtractBetween(QStringLiteral("a=1;b=2"), QStringLiteral("B="), QStringLiteral(";")), QStringLiteral("2"));
    EXPECT_EQ(TextBefore(QString(), QStringLiteral(";")), QString());
    EXPECT_EQ(TextBefore(QStringLiteral("abc"), QStringLiteral(";")), QStringLiteral("abc"));

    EXPECT_EQ(CleanWarnings(QStringLiteral("One.\rTwo.\nThree\r\nFour..")), QStringLiteral("One. Two. Three Four."));
    EXPECT_EQ(ShortList({}), QStringLiteral("\r\n"));
    EXPECT_EQ(ShortList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}),
              QStringLiteral("a\r\nb\r\nc  ...\r\n\r\n"));
}
