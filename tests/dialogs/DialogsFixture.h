#pragma once

#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "ui/MessageBox.h"
#include "ui/Modal.h"

#include "SampleFolder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace qv::test {

inline QString SampleConfig()
{
    return SampleFolder() + QStringLiteral("/qvDataView Sample.cfg");
}

// Each test has its own registry and user data folder, the resource strings,
// a message recorder and an empty queue of modal drivers; the sample
// configuration is read afresh, so that a test may change its data views.
class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(SampleFolder().isEmpty()) << "the sample generator failed";
        ASSERT_TRUE(m_registry.isValid() && m_data.isValid());
        m_oldRegistry = qgetenv("QV_REGISTRY_ROOT");
        qputenv("QV_REGISTRY_ROOT", m_registry.path().toLocal8Bit());
        qputenv("QV_DATA_ROOT", m_data.path().toLocal8Bit());
        SetResourceLibrary(LoadResourceLibrary(ResourceLibraryPath(QString::fromLatin1(kResourceFileName))));
        ASSERT_FALSE(LoadResString(81600).isEmpty()) << "the resource strings are missing";
        ui::SetMessageBoxHandler(messages);
        ui::modal_driver::Clear();
        store = config::ConfigStore::Create();
        store->Open(SampleConfig());
    }

    void TearDown() override
    {
        ui::SetMessageBoxHandler(nullptr);
        EXPECT_EQ(ui::modal_driver::LeftOpen(), 0) << "a driver left its dialog open";
        ui::modal_driver::Clear();
        SetResourceLibrary(nullptr);
        qputenv("QV_REGISTRY_ROOT", m_oldRegistry);
        qunsetenv("QV_DATA_ROOT");
    }

    std::shared_ptr<config::DataView> View(const char *name) const
    {
        auto view = store->DataViewCollection().ItemByName(QString::fromUtf8(name));
        EXPECT_TRUE(view) << name;
        return view;
    }

    std::shared_ptr<ui::MessageRecorder> messages = std::make_shared<ui::MessageRecorder>();
    std::shared_ptr<config::ConfigStore> store;

private:
    QTemporaryDir m_registry, m_data;
    QByteArray m_oldRegistry;
};

// Waits until a form's work is done (its rows shown, its fetch over).
template<typename Form>
bool WaitIdle(Form &form, int timeoutMs = 60000)
{
    return QTest::qWaitFor([&] { return !form.Busy(); }, timeoutMs);
}

template<typename T = QWidget>
T *Child(QWidget &form, const char *name)
{
    T *child = form.findChild<T *>(QString::fromLatin1(name));
    EXPECT_TRUE(child) << name;
    return child;
}

// Waits while the window of the widget shows the busy pointer of a fetch
// (a user waits for it too: the window takes no input meanwhile).
inline bool WaitWindowIdle(QWidget *widget, int timeoutMs = 60000)
{
    return QTest::qWaitFor([&] { return widget->window()->cursor().shape() != Qt::BusyCursor; }, timeoutMs);
}

// Chooses a combo entry with the keyboard, as a user does: Home, then Down,
// each step once the fetch the last one started is over.
inline void ChooseEntry(QComboBox *combo, int index)
{
    combo->setFocus();
    // Home moves the cursor in an editable combo's text: Up to the first.
    if (combo->isEditable()) {
        while (combo->currentIndex() > 0) {
            QTest::keyClick(combo, Qt::Key_Up);
            ASSERT_TRUE(WaitWindowIdle(combo));
        }
    } else {
        QTest::keyClick(combo, Qt::Key_Home);
    }
    ASSERT_TRUE(WaitWindowIdle(combo));
    for (int i = 0; i < index; ++i) {
        QTest::keyClick(combo, Qt::Key_Down);
        ASSERT_TRUE(WaitWindowIdle(combo));
    }
}

inline void ChooseText(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    ChooseEntry(combo, index);
}

// Replaces the text of an editable combo by typing.
inline void TypeInto(QComboBox *combo, const QString &text)
{
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClick(combo->lineEdit(), Qt::Key_Delete);
    QTest::keyClicks(combo->lineEdit(), text);
}

} // namespace qv::test
