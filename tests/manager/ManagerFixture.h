#pragma once

#include "biz/ConfigFileSettings.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "ui/MessageBox.h"
#include "ui/Modal.h"

#include "manager/frmMain.h"

#include <QApplication>
#include <QClipboard>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace qv::test {

// Each test has its own registry, data folder, resource strings and message
// recorder, and two configuration files: a personal one with three data
// views and two smart tags, and a team one with one data view. The registry
// names them as the user's personal and team files.
class ManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_registry.isValid() && m_data.isValid() && m_files.isValid());
        m_oldRegistry = qgetenv("QV_REGISTRY_ROOT");
        qputenv("QV_REGISTRY_ROOT", m_registry.path().toLocal8Bit());
        qputenv("QV_DATA_ROOT", m_data.path().toLocal8Bit());
        SetResourceLibrary(LoadResourceLibrary(ResourceLibraryPath(QString::fromLatin1(kResourceFileName))));
        ASSERT_FALSE(LoadResString(704).isEmpty()) << "the resource strings are missing";
        ui::SetMessageBoxHandler(messages);
        ui::modal_driver::Clear();
        // What an earlier test copied is no paste for this one.
        QApplication::clipboard()->clear();

        personalPath = m_files.filePath(QStringLiteral("personal.cfg"));
        teamPath = m_files.filePath(QStringLiteral("team.cfg"));
        personal = config::ConfigStore::CreateFile(personalPath, QStringLiteral("My Views"),
                                                   QStringLiteral("What I use"), QString());
        AddView(*personal, "Orders", 6, "Microsoft Access",
                "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/srv/data/orders.mdb");
        AddView(*personal, "customers", 4, "Microsoft Excel",
                "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/srv/data/Sales.xlsx;Extended Properties=Excel 8.0;");
        AddView(*personal, "Budget", 5, "ODBC", "DRIVER=SQLite3;Database=/srv/budget.db");
        auto set = personal->SmartTagSets().Item(1);
        auto cities = set->AddNew();
        cities->Name = QStringLiteral("Cities");
        cities->Warnings = QStringLiteral("The field is gone.\r\nCheck the data view..");
        auto stopped = set->AddNew();
        stopped->Name = QStringLiteral("Stopped");
        stopped->Enabled = false;
        personal->Save();
        team = config::ConfigStore::CreateFile(teamPath, QStringLiteral("Team Views"), QString(), QString());
        AddView(*team, "Projects", 2, "ODBC", "Provider=MSDASQL;DSN=Projects;UID=me");
        team->Save();
        biz::ConfigFileSettings settings;
        settings.SetConfigFilePath(biz::ConfigFileSettings::Personal, personalPath);
        settings.SetConfigFilePath(biz::ConfigFileSettings::Team, teamPath);
    }

    void TearDown() override
    {
        ui::SetMessageBoxHandler(nullptr);
        ui::modal_driver::Clear();
        SetResourceLibrary(nullptr);
        qputenv("QV_REGISTRY_ROOT", m_oldRegistry);
        qunsetenv("QV_DATA_ROOT");
    }

    static std::shared_ptr<config::DataView> AddView(config::ConfigStore &store, const char *name, qint32 kind,
                                                     const char *type, const char *connection)
    {
        auto view = store.DataViewCollection().AddBlank();
        view->Name = QString::fromUtf8(name);
        view->Source.Kind = kind;
        view->Source.TypeName = QString::fromUtf8(type);
        view->Source.ConnectionText = QString::fromUtf8(connection);
        return view;
    }

    static std::shared_ptr<config::ConfigStore> Open(const QString &path)
    {
        auto store = config::ConfigStore::Create();
        store->Open(path);
        return store;
    }

    QString Messages() const
    {
        QStringList texts;
        for (const auto &message : messages->Messages)
            texts << message.Text;
        return texts.join(QStringLiteral(" | "));
    }

    std::shared_ptr<ui::MessageRecorder> messages = std::make_shared<ui::MessageRecorder>();
    QString personalPath, teamPath;
    std::shared_ptr<config::ConfigStore> personal, team;

private:
    QTemporaryDir m_registry, m_data, m_files;
    QByteArray m_oldRegistry;
};

template<typename T = QWidget>
T *Child(QWidget &form, const char *name)
{
    T *child = form.findChild<T *>(QString::fromLatin1(name));
    EXPECT_TRUE(child) << name;
    return child;
}

// The texts of a column of the manager's list, in list order.
inline QString ListTexts(frmMain &form, int column = 0)
{
    auto *list = Child<QTreeView>(form, "lvDetails");
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        texts << list->model()->index(row, column).data().toString();
    return texts.join(QLatin1Char(','));
}

// The node the user clicks on, by its position in the tree.
inline void ClickNode(frmMain &form, int position)
{
    auto *tree = Child<QTreeView>(form, "tvTreeView");
    const QModelIndex node = static_cast<const manager::ManagerTreeModel *>(tree->model())->NodeAt(position);
    tree->scrollTo(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(node).center());
}

inline frmMain *ShownManager()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("frmMain") && widget->isVisible())
            return static_cast<frmMain *>(widget);
    return nullptr;
}

} // namespace qv::test
