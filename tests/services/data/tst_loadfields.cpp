#include "data/DataViewDataServices.h"

#include "biz/FieldKinds.h"
#include "config/ConfigStore.h"
#include "data/ConnectionText.h"
#include "data/backends/odbc/OdbcConnection.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::data;

// Loaded fields carry the kind of their type, so that a field the wizard adds
// later formats, totals, sorts and filters as its type says.
TEST(LoadFields, GiveEachFieldTheKindOfItsType)
{
    QTemporaryDir dir;
    const QString text = QStringLiteral("Driver=SQLite3;Database=") + dir.filePath(QStringLiteral("k.db"));
    odbc::Connection(text).Execute(
        {QStringLiteral("CREATE TABLE \"T\" (\"Id\" INTEGER, \"Name\" VARCHAR(40), \"Since\" DATE, \"Rate\" DOUBLE)"), {}});
    auto store = config::ConfigStore::Create();
    store->CreateNew(QString(), QStringLiteral("Test"), QString(), QString());
    auto view = store->DataViewCollection().AddBlank();
    view->Name = QStringLiteral("Kinds");
    DataViewDataServices services;
    services.SetDataSource(view, SourceDsnLess, text, {}, {}, true);
    view->DataItemName = QStringLiteral("T");
    services.LoadFields(view);

    const struct { const char *name; qint32 kind; } expected[] = {
        {"Id", FieldTypeNumber}, {"Name", FieldTypeText}, {"Since", FieldTypeDate}, {"Rate", FieldTypeNumber}};
    for (const auto &e : expected) {
        const auto field = view->Fields.Item(QString::fromLatin1(e.name));
        ASSERT_TRUE(field) << e.name;
        EXPECT_EQ(field->DataKind, e.kind) << e.name << " of ADO type " << field->AdoType;
    }
    // Loading again keeps a kind the user chose.
    view->Fields.Item(QStringLiteral("Rate"))->DataKind = FieldTypePercent;
    services.LoadFields(view);
    EXPECT_EQ(view->Fields.Item(QStringLiteral("Rate"))->DataKind, FieldTypePercent);
}
