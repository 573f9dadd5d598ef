// The host process's requests, answered by its handler on the generated
// samples, with scripted answers working the dialogs.
#include "RequestHandler.h"
#include "ScriptedAnswers.h"

#include "qvuser/biz/ConfigFileSettings.h"
#include "qvuser/ui/Modal.h"

#include "SampleFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using qv::test::SampleFolder;

QJsonObject Json(const char *text)
{
    return QJsonDocument::fromJson(text).object();
}

// Each test has its own registry and data folder, with the samples as the
// personal configuration, and a log the scripted answers write to.
class HostRequests : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(SampleFolder().isEmpty()) << "the sample generator failed";
        m_oldRegistry = qgetenv("QV_REGISTRY_ROOT");
        qputenv("QV_REGISTRY_ROOT", m_work.filePath(QStringLiteral("registry")).toLocal8Bit());
        qputenv("QV_DATA_ROOT", m_work.filePath(QStringLiteral("data")).toLocal8Bit());
        qv::biz::ConfigFileSettings().SetConfigFilePath(qv::biz::ConfigFileSettings::Personal,
                                                        SampleFolder() + QStringLiteral("/qvDataView Sample.cfg"));
        qv::ui::modal_driver::Clear();
    }

    void TearDown() override
    {
        EXPECT_EQ(qv::ui::modal_driver::Pending(), 0) << "a scripted step found no dialog";
        qv::ui::modal_driver::Clear();
        qputenv("QV_REGISTRY_ROOT", m_oldRegistry);
        qunsetenv("QV_DATA_ROOT");
    }

    // One scripted step, logging to the test's log.
    void Script(QJsonObject step)
    {
        step.insert(QStringLiteral("log"), LogPath());
        qvhostd::QueueSteps(QJsonArray{step});
    }

    QString LogPath() const { return m_work.filePath(QStringLiteral("dialogs.log")); }

    // The lines the scripted steps logged, in order.
    QList<QJsonObject> Logged() const
    {
        QList<QJsonObject> lines;
        QFile file(LogPath());
        if (!file.open(QIODevice::ReadOnly))
            return lines;
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (!line.isEmpty())
                lines.append(QJsonDocument::fromJson(line).object());
        }
        return lines;
    }

    QJsonObject Error(const QJsonObject &answer) const { return answer.value(QStringLiteral("error")).toObject(); }

private:
    QTemporaryDir m_work;
    QByteArray m_oldRegistry;
};

struct BadRequest
{
    const char *request;
    qint32 number;
};

// A request the process cannot serve is answered with its error, never thrown
// or left unanswered; the id still comes back.
TEST_F(HostRequests, BadRequestsAnswerTheirError)
{
    const BadRequest cases[] = {
        {R"({"id": 7})", 5},
        {R"({"id": 7, "request": 3})", 5},
        {R"({"id": 7, "request": "format-disk"})", 5},
        {R"({"id": 7, "request": "view-data", "dataView": "Sample Customers"})", 5},
        {R"({"id": 7, "request": "view-data", "dataView": {"colour": "red"}})", 5},
        {R"({"id": 7, "request": "view-data", "dataView": {"name": "Sample Nothing"}})", 32811},
        {R"({"id": 7, "request": "view-data", "dataView": {"key": "NO-SUCH-KEY"}})", 32811},
        {R"({"id": 7, "request": "view-data", "dataView": {"id": 999}})", 32811},
        {R"({"id": 7, "request": "view-data", "dataView": {"name": "Sample Customers"}, "dataViewType": 3})", 5},
        {R"({"id": 7, "request": "view-data", "dataView": {"name": "Sample Customers"}, "preview": -1})", 5},
        {R"({"id": 7, "request": "insert-data", "tableStyles": "Academic"})", 5},
        {R"({"id": 7, "request": "insert-data", "paragraphStyles": ["Body", 4]})", 5},
        {R"({"id": 7, "request": "insert-data", "settings": [1]})", 5},
        {R"({"id": 7, "request": "insert-data", "settings": {"InsertPosition": "after"}})", 13},
        {R"({"id": 7, "request": "insert-data", "selectedRowsXml": 12})", 5},
    };
    qvhostd::RequestHandler handler;
    for (const BadRequest &c : cases) {
        const QJsonObject answer = handler.Answer(Json(c.request));
        EXPECT_FALSE(answer.value(QStringLiteral("ok")).toBool(true)) << c.request;
        EXPECT_EQ(Error(answer).value(QStringLiteral("number")).toInt(), c.number) << c.request;
        EXPECT_FALSE(Error(answer).value(QStringLiteral("description")).toString().isEmpty()) << c.request;
        EXPECT_EQ(answer.value(QStringLiteral("id")).toInt(), 7) << c.request;
    }
    EXPECT_TRUE(Logged().isEmpty()) << "a bad request showed a dialog";

    const QJsonObject pong = handler.Answer(Json(R"({"id": "p", "request": "ping"})"));
    EXPECT_TRUE(pong.value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(pong.value(QStringLiteral("pid")).toInteger(), QCoreApplication::applicationPid());
    EXPECT_EQ(pong.value(QStringLiteral("id")).toString(), QStringLiteral("p"));
}

// The main road: three rows ticked come back formatted and raw with their
// fields; the settings and selection handed back to a new process tick the
// same rows again; cancel answers cancelled and nothing else.
TEST_F(HostRequests, InsertDataAnswersTheChosenRowsAndTicksThemAgain)
{
    QJsonObject first;
    {
        qvhostd::RequestHandler handler;
        Script(Json(R"({"tick": [1, 3, 4], "layout": "Table with Header", "style": "Academic",
                        "position": "Before", "press": "cmdOK"})"));
        first = handler.Answer(Json(R"({"id": 1, "request": "insert-data", "dataView": {"name": "Sample Customers"},
                                        "tableStyles": ["Academic", "Box List Blue"], "paragraphStyles": ["Body"]})"));
    }
    ASSERT_TRUE(first.value(QStringLiteral("ok")).toBool()) << QJsonDocument(first).toJson().constData();
    EXPECT_FALSE(first.value(QStringLiteral("cancelled")).toBool(true));
    EXPECT_EQ(first.value(QStringLiteral("layout")).toInt(), 2);
    EXPECT_EQ(first.value(QStringLiteral("style")).toString(), QStringLiteral("Academic"));
    EXPECT_EQ(first.value(QStringLiteral("position")).toInt(), 1);
    const QJsonObject view = first.value(QStringLiteral("dataView")).toObject();
    EXPECT_EQ(view.value(QStringLiteral("name")).toString(), QStringLiteral("Sample Customers"));
    EXPECT_EQ(view.value(QStringLiteral("type")).toInt(), 1);

    const QJsonObject rows = first.value(QStringLiteral("rows")).toObject();
    const QJsonObject raw = first.value(QStringLiteral("rawRows")).toObject();
    ASSERT_EQ(rows.value(QStringLiteral("rows")).toArray().size(), 3);
    ASSERT_EQ(raw.value(QStringLiteral("rows")).toArray().size(), 3);
    EXPECT_EQ(rows.value(QStringLiteral("fields")).toArray().first().toObject().value(QStringLiteral("name")),
              QStringLiteral("Id"));
    // Formatted texts are text; raw values keep their kinds, and so do their fields' types.
    const QJsonArray formattedRow = rows.value(QStringLiteral("rows")).toArray().first().toArray();
    const QJsonArray rawRow = raw.value(QStringLiteral("rows")).toArray().first().toArray();
    EXPECT_TRUE(formattedRow.first().isString());
    EXPECT_TRUE(rawRow.first().isDouble());
    EXPECT_EQ(formattedRow.first().toString(), QString::number(rawRow.first().toInt()));
    EXPECT_EQ(raw.value(QStringLiteral("fields")).toArray().first().toObject().value(QStringLiteral("type")), 3);
    EXPECT_FALSE(first.value(QStringLiteral("selectedRowsXml")).toString().isEmpty());

    // A new process, as after Writer's restart: only what the answer carried.
    qvhostd::RequestHandler again;
    Script(Json(R"({"press": "cmdCancel"})"));
    QJsonObject second{{QStringLiteral("request"), QStringLiteral("insert-data")},
                       {QStringLiteral("picker"), true},
                       {QStringLiteral("dataView"), QJsonObject{{QStringLiteral("key"), view.value(QStringLiteral("key"))}}},
                       {QStringLiteral("settings"), first.value(QStringLiteral("settings"))},
                       {QStringLiteral("selectedRowsXml"), first.value(QStringLiteral("selectedRowsXml"))}};
    const QJsonObject cancelled = again.Answer(second);
    EXPECT_TRUE(cancelled.value(QStringLiteral("ok")).toBool());
    EXPECT_TRUE(cancelled.value(QStringLiteral("cancelled")).toBool());
    EXPECT_FALSE(cancelled.contains(QStringLiteral("rows")));

    const QList<QJsonObject> logged = Logged();
    ASSERT_EQ(logged.size(), 2);
    EXPECT_EQ(logged[0].value(QStringLiteral("ticked")).toArray(), (QJsonArray{1, 3, 4}));
    EXPECT_EQ(logged[0].value(QStringLiteral("shown")).toArray(), rows.value(QStringLiteral("rows")).toArray())
        << "the answer's rows are not those the dialog showed ticked";
    EXPECT_EQ(logged[1].value(QStringLiteral("ticked")).toArray(), (QJsonArray{1, 3, 4}));
    EXPECT_EQ(logged[1].value(QStringLiteral("caption")).toString(), QStringLiteral("Insert Data"));
}

// View Data shows the data view named, or without one the data view Insert
// Data showed last.
TEST_F(HostRequests, ViewDataShowsTheNamedOrTheLastDataView)
{
    qvhostd::RequestHandler handler;
    Script(Json(R"({"press": "cmdClose"})"));
    EXPECT_TRUE(handler.Answer(Json(R"({"request": "view-data", "dataView": {"name": "Sample Offices"},
                                        "caption": "Offices"})")).value(QStringLiteral("ok")).toBool());
    Script(Json(R"({"tick": [0], "press": "cmdOK"})"));
    ASSERT_TRUE(handler.Answer(Json(R"({"request": "insert-data", "dataView": {"name": "Sample Customers"}})"))
                    .value(QStringLiteral("ok")).toBool());
    Script(Json(R"({"press": "cmdClose"})"));
    EXPECT_TRUE(handler.Answer(Json(R"({"request": "view-data", "preview": 5})")).value(QStringLiteral("ok")).toBool());

    const QList<QJsonObject> logged = Logged();
    ASSERT_EQ(logged.size(), 3);
    EXPECT_EQ(logged[0].value(QStringLiteral("caption")).toString(), QStringLiteral("Offices - Sample Offices"));
    EXPECT_EQ(logged[2].value(QStringLiteral("caption")).toString(), QStringLiteral("Preview - Sample Customers"));
    EXPECT_EQ(logged[2].value(QStringLiteral("rows")).toInt(), 5);
}

} // namespace
