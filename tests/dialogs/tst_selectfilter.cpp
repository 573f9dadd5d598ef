#include "SelectDriver.h"

#include <QSignalSpy>

using namespace qv;
using namespace qv::test;
using qv::test::DialogTest;

namespace {

void ChooseFilter(frmSelectDataItems &f, const char *field, const QString &value)
{
    ChooseText(Child<QComboBox>(f, "cboField"), QString::fromUtf8(field));
    TypeInto(Child<QComboBox>(f, "cboParam"), value);
}

} // namespace

// "(blank)" filters for empty values and stays shown as "(blank)"; F5 does
// nothing while a filter is applied and fetches again once it is removed;
// Cancel takes the filter out of the host's data view again.
TEST_F(DialogTest, BlankFilterF5AndCancel)
{
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Customers");
    RunSelect(form, request, [](frmSelectDataItems &f) {
        QSignalSpy shown(&f, &frmSelectDataItems::RowsShown);
        ChooseFilter(f, "City", QStringLiteral("(blank)"));
        Click(f, "cmdApplyFilter");
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_EQ(Viewer(f)->RecordCount(), 19);
        EXPECT_EQ(Child<QComboBox>(f, "cboParam")->currentText(), QStringLiteral("(blank)"));
        EXPECT_EQ(Status(f), QStringLiteral("19 records displayed"));
        EXPECT_EQ(f.State().DataView()->Fields.Item(QStringLiteral("City"))->Conditions.size(), 1u);
        const int fetches = int(shown.count());

        QTest::keyClick(List(f), Qt::Key_F5);
        EXPECT_EQ(shown.count(), fetches) << "F5 fetched under a filter";

        Click(f, "cmdApplyFilter"); // now Remove Filter
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_EQ(Viewer(f)->RecordCount(), 250);
        EXPECT_EQ(Button(f, "cmdApplyFilter")->text(), QStringLiteral("Apply &Filter"));
        QTest::keyClick(List(f), Qt::Key_F5);
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_EQ(shown.count(), fetches + 2) << "F5 without a filter fetches again";

        ChooseFilter(f, "City", QStringLiteral("Riga"));
        Click(f, "cmdApplyFilter");
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_EQ(Viewer(f)->RecordCount(), 40);
        EXPECT_EQ(Child<QComboBox>(f, "cboParam")->currentText(), QStringLiteral("RIGA")) << "as the City format shows it";
        Click(f, "cmdCancel");
    });
    EXPECT_TRUE(form.Result().Cancelled());
    EXPECT_FALSE(form.Result().Settings()) << "Cancel answers no settings";
    EXPECT_TRUE(request.oDataView->Fields.Item(QStringLiteral("City"))->Conditions.empty());
}

// A value that does not suit the field's type is refused with the message,
// the rows stay and the focus goes back to the value.
TEST_F(DialogTest, InvalidFilterValueChangesNothing)
{
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Customers");
    RunSelect(form, request, [this](frmSelectDataItems &f) {
        ChooseFilter(f, "CreditLimit", QStringLiteral("lots"));
        const QString op = Child<QComboBox>(f, "cboOperator")->currentText();
        Click(f, "cmdApplyFilter");
        ASSERT_EQ(messages->Messages.size(), 1);
        EXPECT_EQ(messages->Messages[0].Text, QStringLiteral("This filter is invalid: 'CreditLimit %1 lots'").arg(op));
        EXPECT_EQ(messages->Messages[0].Style, 64);
        EXPECT_EQ(messages->Messages[0].Title, QStringLiteral("Quorivo Data Views"));
        EXPECT_EQ(QApplication::focusWidget(), Child<QComboBox>(f, "cboParam"));
        EXPECT_EQ(Button(f, "cmdApplyFilter")->text(), QStringLiteral("Apply &Filter"));
        EXPECT_TRUE(Button(f, "cmdApplyFilter")->isEnabled());
        EXPECT_EQ(Viewer(f)->RecordCount(), 250);
        Click(f, "cmdCancel");
    });
    for (const auto &field : request.oDataView->Fields)
        EXPECT_TRUE(field->Conditions.empty());
}

// Value lists come on demand, never for a memo field; the data view's own
// filter stays through filtering and closing.
TEST_F(DialogTest, ValueListsOnDemandButNotForMemos)
{
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Products (database)");
    RunSelect(form, request, [](frmSelectDataItems &f) {
        auto *values = Child<QComboBox>(f, "cboParam");
        ChooseText(Child<QComboBox>(f, "cboField"), QStringLiteral("Notes"));
        values->setFocus();
        QTest::keyClick(values, Qt::Key_Down);
        EXPECT_EQ(values->count(), 2) << "a memo field got a value list";
        ChooseText(Child<QComboBox>(f, "cboField"), QStringLiteral("Name"));
        values->setFocus();
        QTest::keyClick(values, Qt::Key_Down);
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_GT(values->count(), 2);
        EXPECT_EQ(values->itemText(0), QStringLiteral("(no filter)"));
        EXPECT_EQ(values->itemText(1), QStringLiteral("(blank)"));
        Click(f, "cmdCancel");
    });

    frmSelectDataItems orders;
    SelectRequest large;
    large.oDataView = View("Sample Large Orders");
    large.lDisplayParam = large.oDataView->Fields.Item(QStringLiteral("Amount"))->Conditions.front().Id;
    RunSelect(orders, large, [](frmSelectDataItems &f) {
        EXPECT_EQ(Viewer(f)->RecordCount(), 987);
        EXPECT_EQ(Child<QComboBox>(f, "cboField")->currentText(), QStringLiteral("Amount"));
        EXPECT_EQ(Child<QComboBox>(f, "cboOperator")->currentText(), QStringLiteral("is greater than"));
        EXPECT_EQ(Child<QComboBox>(f, "cboParam")->currentText(), QStringLiteral("500"));
        ChooseFilter(f, "Shipped", QStringLiteral("(blank)"));
        Click(f, "cmdCancel");
    });
    EXPECT_EQ(large.oDataView->Fields.Item(QStringLiteral("Amount"))->Conditions.size(), 1u);
}

// Offline, the value list comes from the rows already fetched and F5 does
// not go to the source.
TEST_F(DialogTest, OfflineValuesAndF5)
{
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Customers");
    request.bOffline = true;
    RunSelect(form, request, [](frmSelectDataItems &f) {
        QSignalSpy shown(&f, &frmSelectDataItems::RowsShown);
        ChooseText(Child<QComboBox>(f, "cboField"), QStringLiteral("City"));
        auto *values = Child<QComboBox>(f, "cboParam");
        values->setFocus();
        QTest::keyClick(values, Qt::Key_Down);
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_EQ(values->count(), 2 + 8) << "the eight cities of the rows";
        QTest::keyClick(List(f), Qt::Key_F5);
        EXPECT_EQ(shown.count(), 0);
        Click(f, "cmdCancel");
    });
}
