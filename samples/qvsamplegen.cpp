// qvsamplegen FOLDER: writes the sample sources into FOLDER and the personal
// configuration "qvDataView Sample.cfg" whose data views read them. A source
// that cannot be written here is reported and its data views are left out.
#include "SampleSources.h"

#include "automation/ComError.h"
#include "config/ConfigStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

using qv::config::ConfigStore;
using qv::config::DataView;

struct FieldDef
{
    const char *name;
    int adoType;
    int kind;           // the field kind of the value formatting
    const char *format;
};

std::shared_ptr<DataView> AddView(ConfigStore &store, const QString &name, const QString &description, int sourceKind,
                                  const QString &typeName, const QString &connection, const QString &item,
                                  std::initializer_list<FieldDef> fields)
{
    auto view = store.DataViewCollection().AddBlank();
    view->Name = name;
    view->Description = description;
    view->DataItemName = item;
    view->DataItemKind = sourceKind == 1 ? 4 : 2;
    view->Source = {sourceKind, typeName, connection, {}};
    for (const FieldDef &f : fields) {
        auto field = view->Fields.Add(QString::fromUtf8(f.name));
        field->AdoType = f.adoType;
        field->DataKind = f.kind;
        field->ViewFormat = QString::fromUtf8(f.format);
    }
    return view;
}

void AddSalesViews(ConfigStore &store, const QString &database)
{
    const QString odbc = QStringLiteral("Driver=SQLite3;Database=%1;").arg(database);
    AddView(store, QStringLiteral("Sample Customers"), QStringLiteral("Customers of the sample sales database"), 5,
            QStringLiteral("ODBC"), odbc, QStringLiteral("Customers"),
            {{"Id", 3, 2, "0"}, {"Name", 200, 1, "none"}, {"City", 200, 1, "All Uppercase"},
             {"CustomerSince", 133, 5, "Long Date"}, {"CreditLimit", 5, 2, "#,##0.00"}});
    auto large = AddView(store, QStringLiteral("Sample Large Orders"), QStringLiteral("Orders above 500"), 5,
                         QStringLiteral("ODBC"), odbc, QStringLiteral("Orders"),
                         {{"Id", 3, 2, "0"}, {"CustomerId", 3, 2, "0"}, {"OrderDate", 133, 5, "Short Date"},
                          {"Amount", 5, 2, "Currency"}, {"Shipped", 11, 7, "Yes/No"}});
    large->Fields.Item(QStringLiteral("Amount"))->AddCondition(QStringLiteral("500"), QStringLiteral("AND"),
                                                               QStringLiteral(">"));
}

void AddProductsView(ConfigStore &store, const QString &workbook)
{
    AddView(store, QStringLiteral("Sample Products"), QStringLiteral("The Products sheet of the sample workbook"), 4,
            QStringLiteral("Excel"),
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Extended Properties=Excel 8.0;").arg(workbook),
            QStringLiteral("Products$"),
            {{"Code", 202, 1, "none"}, {"Product", 202, 1, "Title Case"}, {"Unit Price", 5, 2, "$#,##0.00"},
             {"In Stock", 5, 2, "#,##0"}, {"Added", 7, 5, "d mmmm yyyy"}});
}

void AddContactsView(ConfigStore &store, const QString &folder)
{
    const QString name = QFileInfo(folder).fileName();
    auto view = AddView(store, QStringLiteral("Sample Contacts"), QStringLiteral("The sample contacts folder"), 1,
                        QStringLiteral("Outlook"),
                        QStringLiteral(" FolderType=\"Contact\" FolderName=\"%1\" StoreID=\"%2\"")
                            .arg(name, QFileInfo(folder).absolutePath()),
                        name,
                        {{"Full Name", 202, 1, "none"}, {"Company", 202, 1, "none"}, {"E-mail", 202, 1, "All Lowercase"},
                         {"Business Phone", 202, 1, "none"}, {"Categories", 202, 1, "none"}});
    view->Fields.Item(QStringLiteral("Categories"))->Displayed = false;
    // A smart tag that recognizes the sample companies and inserts the contact.
    auto tag = store.SmartTagSets().Item(1)->AddNew();
    tag->Name = QStringLiteral("Sample Contacts Smart Tag");
    tag->Description = QStringLiteral("Recognizes the companies of the sample contacts");
    tag->Recognizer.SetDataView(view);
    tag->Recognizer.SetFieldName(QStringLiteral("Company"));
    auto action = tag->AddAction();
    action->Name = action->DisplayText = QStringLiteral("Insert contact details");
    action->DataViewId = view->Id();
    action->ActionKind = 1;
    action->LayoutType = 2;
}

void AddFileDsnViews(ConfigStore &store, const QString &dsn)
{
    AddView(store, QStringLiteral("Sample Products (database)"), QStringLiteral("Products through an ODBC file data source"),
            7, QStringLiteral("ODBC"), QStringLiteral("File Name=%1").arg(dsn), QStringLiteral("Products"),
            {{"Id", 3, 2, "0"}, {"Name", 200, 1, "none"}, {"UnitPrice", 5, 3, "Currency"},
             {"Discontinued", 11, 7, "Yes/No"}, {"Added", 135, 5, "Medium Date"}, {"Notes", 201, 8, "none"}});
}

void AddPriceListView(ConfigStore &store, const QString &workbook)
{
    AddView(store, QStringLiteral("Sample Price List"), QStringLiteral("The Price List sheet of the sample .xlsx workbook"), 4,
            QStringLiteral("Excel"),
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Extended Properties=Excel 8.0;").arg(workbook),
            QStringLiteral("Price List"),
            {{"Code", 202, 1, "none"}, {"Product", 202, 1, "none"}, {"Unit Price", 5, 3, "Currency"},
             {"In Stock", 5, 2, "#,##0"}, {"Discontinued", 11, 7, "Yes/No"}, {"Added", 7, 5, "Short Date"},
             {"Note", 202, 1, "none"}});
}

void AddTasksView(ConfigStore &store, const QString &folder)
{
    const QString name = QFileInfo(folder).fileName();
    AddView(store, QStringLiteral("Sample Tasks"), QStringLiteral("The sample tasks folder"), 1, QStringLiteral("Outlook"),
            QStringLiteral(" FolderType=\"Task\" FolderName=\"%1\" StoreID=\"%2\"").arg(name, QFileInfo(folder).absolutePath()),
            name,
            {{"Subject", 202, 1, "none"}, {"Due Date", 7, 5, "Short Date"}, {"Status", 202, 1, "none"},
             {"Priority", 202, 1, "none"}, {"% Complete", 3, 2, "0"}});
}

void AddOfficesView(ConfigStore &store, const QString &page)
{
    AddView(store, QStringLiteral("Sample Offices"), QStringLiteral("The Offices table of the sample page"), 8,
            QStringLiteral("HTML"), QStringLiteral("%1;Extended Properties=HTML;").arg(page), QStringLiteral("Offices"),
            {{"City", 202, 1, "none"}, {"Country", 202, 1, "none"}, {"Staff", 5, 2, "0"}, {"Opened", 202, 1, "none"}});
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        err << "usage: qvsamplegen OUTPUT_FOLDER\n";
        return 2;
    }
    const QDir folder(QFileInfo(args[1]).absoluteFilePath());
    if (!QDir().mkpath(folder.path())) {
        err << "cannot create " << folder.path() << "\n";
        return 1;
    }
    auto store = ConfigStore::Create();
    const QString cfg = folder.filePath(QStringLiteral("qvDataView Sample.cfg"));
    QFile::remove(cfg);
    store->CreateNew(cfg, QStringLiteral("Sample"), QStringLiteral("Data views over the generated sample sources"),
                     QStringLiteral("schemas-harbrane-com:quorivo:smarttag#personal"));

    const QString database = folder.filePath(QStringLiteral("Sample Sales.sqlite"));
    const QString workbook = folder.filePath(QStringLiteral("Sample Products.xml"));
    const QString contacts = folder.filePath(QStringLiteral("Sample Contacts"));
    const QString dsn = folder.filePath(QStringLiteral("Sample Sales.dsn"));
    const QString priceList = folder.filePath(QStringLiteral("Sample Price List.xlsx"));
    const QString tasks = folder.filePath(QStringLiteral("Sample Tasks"));
    const QString page = folder.filePath(QStringLiteral("Sample Offices.html"));
    const struct { QString what; QString error; std::function<void()> add; } sources[] = {
        {database, qv::samples::WriteSalesDatabase(database), [&] { AddSalesViews(*store, database); }},
        {workbook, qv::samples::WriteProductsWorkbook(workbook), [&] { AddProductsView(*store, workbook); }},
        {contacts, qv::samples::WriteContactsFolder(contacts), [&] { AddContactsView(*store, contacts); }},
        {dsn, QFileInfo::exists(database) ? qv::samples::WriteSalesFileDsn(dsn, database) : QStringLiteral("no database"),
         [&] { AddFileDsnViews(*store, dsn); }},
        {priceList, qv::samples::WriteProductsXlsx(priceList), [&] { AddPriceListView(*store, priceList); }},
        {tasks, qv::samples::WriteTasksFolder(tasks), [&] { AddTasksView(*store, tasks); }},
        {page, qv::samples::WriteHtmlPage(page), [&] { AddOfficesView(*store, page); }},
    };
    for (const auto &source : sources) {
        if (!source.error.isEmpty()) {
            err << "skipped " << source.what << ": " << source.error << "\n";
            continue;
        }
        source.add();
        out << "wrote " << source.what << "\n";
    }
    try {
        store->Save();
    } catch (const qv::ComError &e) {
        err << e.Description() << "\n";
        return 1;
    }
    out << "wrote " << cfg << " (" << store->DataViewCollection().Count() << " data views)\n";
    return 0;
}
