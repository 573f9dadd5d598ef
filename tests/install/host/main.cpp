// A host that knows QVUser from its install only: it makes an HTML page and a
// data view over it, runs Insert Data with the modal driver choosing a row,
// prints the row it got back (the list shows the rows sorted), and prints the number of an error it caught.
#include <qvuser/QVUser.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString WritePage(const QDir &folder)
{
    const QString path = folder.filePath(QStringLiteral("offices.html"));
    QFile page(path);
    if (!page.open(QIODevice::WriteOnly))
        return {};
    page.write("<html><body><table id=\"Offices\"><tr><th>City</th><th>Staff</th></tr>"
               "<tr><td>Leeds</td><td>42</td></tr><tr><td>Lyon</td><td>23</td></tr>"
               "<tr><td>Graz</td><td>9</td></tr></table></body></html>");
    return path;
}

std::shared_ptr<qv::config::DataView> OfficesView(const std::shared_ptr<qv::config::ConfigStore> &store,
                                                  const QString &page)
{
    auto view = store->DataViewCollection().AddBlank();
    view->Name = QStringLiteral("Offices");
    view->DataItemName = QStringLiteral("Offices");
    view->DataItemKind = 2;
    view->Source = {8, QStringLiteral("HTML"), page + QStringLiteral(";Extended Properties=HTML;"), {}};
    for (const char *name : {"City", "Staff"})
        view->Fields.Add(QString::fromUtf8(name))->AdoType = 202;
    return view;
}

// Runs events until the condition holds or 30 s have passed.
template<typename Condition>
bool WaitFor(Condition condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return condition();
}

// The user's part: once the rows are in, click the second row and press
// OK, which is enabled once rows are chosen.
void ChooseARow(QDialog &dialog)
{
    auto *list = dialog.findChild<QAbstractItemView *>(QStringLiteral("lvwItems"));
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"));
    if (!list || !ok || !WaitFor([&] { return list->model()->rowCount() == 3; })) {
        std::fprintf(stderr, "the rows never came\n");
        dialog.reject();
        return;
    }
    for (int row : {1}) {
        const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
        const QPointF global = list->viewport()->mapToGlobal(at);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QMouseEvent click(type, at, global, Qt::LeftButton, held, Qt::NoModifier);
            QApplication::sendEvent(list->viewport(), &click);
        }
    }
    if (!WaitFor([&] { return ok->isEnabled(); })) {
        std::fprintf(stderr, "OK stayed disabled\n");
        dialog.reject();
        return;
    }
    ok->click();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir work;
    qv::HostSettings settings;
    settings.RegistryRoot = work.filePath(QStringLiteral("registry"));
    qv::SetHostSettings(settings);

    DVUser user;
    auto store = qv::config::ConfigStore::Create();
    qv::ui::modal_driver::Push(ChooseARow);
    // The data view goes in without a variable; InsertDataView hands it back.
    const auto chosen = user.ShowSelectData(OfficesView(store, WritePage(QDir(work.path()))), nullptr, nullptr,
                                            nullptr, Personal, -1, false, true, false, false);
    const auto shown = user.InsertDataView();
    const auto rows = user.InsertDataSelectionRS();
    if (!chosen || !shown || !rows) {
        std::fprintf(stderr, "Insert Data gave nothing back\n");
        return 1;
    }
    std::printf("view %s\n", qPrintable(shown->Name));
    for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext())
        std::printf("row %s %s\n", qPrintable(rows->Fields().Item("City").Value().ToText()),
                    qPrintable(rows->Fields().Item("Staff").Value().ToText()));

    try {
        std::shared_ptr<qv::config::DataView> none;
        user.GetValueListDictionary(none, QStringLiteral("City"), true);
    } catch (const qv::ComError &error) {
        std::printf("error %d %s\n", error.Number(), qPrintable(error.Source()));
    }
    return 0;
}
