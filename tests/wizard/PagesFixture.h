#pragma once

#include "../dialogs/DialogsFixture.h"

#include "common/FetchRunner.h"
#include "config/ConfigObjects.h"
#include "data/DataViewDataServices.h"
#include "wizard/WizardPage.h"

#include <QBoxLayout>
#include <QTreeView>

namespace qv::test {

// One wizard page alone in a window, over a data view of the sample
// configuration and the real sample sources, as the wizard's frame would
// hold it: the shared context, the sequence state and one fetch helper.
class WizardPageTest : public DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        if (HasFatalFailure())
            return;
        window = std::make_unique<QWidget>();
        window->resize(640, 400);
        fetch = new FetchRunner(window.get());
        context.Store = store;
        context.State = &state;
        context.Services = &services;
        context.Fetch = fetch;
        context.Window = window.get();
    }

    void TearDown() override
    {
        window.reset();
        DialogTest::TearDown();
    }

    // Works on `viewName`, a new or an existing data view, with page P shown.
    template<typename P>
    P *Show(const char *viewName, bool bNew = false)
    {
        state.Begin(bNew, false);
        context.View = View(viewName);
        auto *page = new P(context, window.get());
        (new QVBoxLayout(window.get()))->addWidget(page);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return page;
    }

    bool WaitFetch() { return QTest::qWaitFor([this] { return !fetch->Busy(); }, 60000); }

    // The texts of a message box title and style, for comparisons.
    static QString WizardTitle() { return QStringLiteral("Quorivo Data View Wizard"); }

    std::unique_ptr<QWidget> window;
    FetchRunner *fetch = nullptr;
    wizard::DataViewWizardState state;
    data::DataViewDataServices services;
    wizard::WizardContext context;
};

// Clicks a cell of a list.
inline void ClickCell(QAbstractItemView *list, int row, int column, Qt::MouseButton button = Qt::LeftButton)
{
    const QRect cell = list->visualRect(list->model()->index(row, column));
    QTest::mouseClick(list->viewport(), button, {}, cell.center());
}

} // namespace qv::test
