#pragma once

#include "../dialogs/DialogsFixture.h"

#include "qvuser/DVUser.h"
#include "wizard/frmDataViewWizard.h"

#include <QFile>
#include <QListWidget>
#include <QCheckBox>
#include <QRadioButton>
#include <QPushButton>
#include <QTreeWidget>

namespace qv::test {

// unixODBC reads its configuration folder once per process: the whole run
// uses one, with the machine's drivers, a system data source over the sample
// database, and the sample folder as the file data source folder.
inline const QString &OdbcConfigFolder()
{
    static QTemporaryDir folder;
    static const bool written = [] {
        QFile drivers(QStringLiteral("/etc/odbcinst.ini"));
        QByteArray baDrivers = drivers.open(QIODevice::ReadOnly) ? drivers.readAll() : QByteArray();
        baDrivers += "\n[ODBC]\nFILEDSNPATH=" + SampleFolder().toUtf8() + "\n";
        QFile ini(folder.filePath(QStringLiteral("odbcinst.ini")));
        QFile system(folder.filePath(QStringLiteral("odbc.ini")));
        if (!ini.open(QIODevice::WriteOnly) || !system.open(QIODevice::WriteOnly))
            return false;
        ini.write(baDrivers);
        system.write("[Wizard Sales]\nDescription=Sample sales\nDriver=SQLite3\nDatabase="
                     + SampleFolder().toUtf8() + "/Sample Sales.sqlite\n");
        qputenv("ODBCSYSINI", folder.path().toLocal8Bit());
        qputenv("ODBCINI", folder.filePath(QStringLiteral("user-odbc.ini")).toLocal8Bit());
        return true;
    }();
    static const QString path = written ? folder.path() : QString();
    return path;
}

// A wizard test: the sample configuration as the user's personal file (a
// copy of its own), the ODBC configuration above, and helpers that work
// the wizard as a user does.
class WizardTest : public DialogTest
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(OdbcConfigFolder().isEmpty());
        DialogTest::SetUp();
        ASSERT_TRUE(m_files.isValid());
        personalPath = m_files.filePath(QStringLiteral("personal.cfg"));
        ASSERT_TRUE(QFile::copy(SampleConfig(), personalPath));
        store = config::ConfigStore::Create();
        store->Open(personalPath);
        // The last DVUser of a thread takes the string table with it.
        m_user = std::make_unique<DVUser>();
    }

    void TearDown() override
    {
        m_user.reset();
        DialogTest::TearDown();
    }

    QByteArray FileBytes() const
    {
        QFile file(personalPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString personalPath;

private:
    QTemporaryDir m_files;
    std::unique_ptr<DVUser> m_user;
};

// --- working the wizard

inline bool WaitStep(frmDataViewWizard &wizard, wizard::Step step, int timeoutMs = 60000)
{
    return QTest::qWaitFor([&] { return wizard.State().Current() == step && !wizard.Busy(); }, timeoutMs);
}

inline void Press(QWidget &form, const char *name)
{
    auto *button = Child<QPushButton>(form, name);
    ASSERT_TRUE(button);
    ASSERT_TRUE(button->isEnabled()) << name << " is disabled";
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks the row of the list whose text is `text`.
// Clicks an option or check box on its mark: only the mark and its text take clicks.
inline void ClickOption(QWidget &form, const char *name)
{
    auto *option = Child<QAbstractButton>(form, name);
    ASSERT_TRUE(option);
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(5, option->height() / 2));
}

// Clicks the row showing exactly this text, in a list widget or any list view.
inline void ClickRow(QWidget &form, const char *list, const QString &text)
{
    auto *view = Child<QAbstractItemView>(form, list);
    ASSERT_TRUE(view);
    QAbstractItemModel *model = view->model();
    const QModelIndexList found = model->match(model->index(0, 0), Qt::DisplayRole, text, -1, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << qPrintable(text);
    view->scrollTo(found.first());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(found.first()).center());
    ASSERT_EQ(view->currentIndex(), found.first());
}

inline QStringList RowTexts(QWidget &form, const char *list)
{
    QStringList texts;
    if (auto *view = Child<QAbstractItemView>(form, list)) {
        for (int i = 0; i < view->model()->rowCount(); ++i)
            texts << view->model()->index(i, 0).data().toString();
    }
    return texts;
}

} // namespace qv::test
