// Reading Insert Data's grid and controls: widths that show every text,
// key icons only on key columns, entries never cut, value lists in the
// texts a filter takes.
#include "SelectDriver.h"

#include "config/ConfigObjects.h"

#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>

using namespace qv;
using namespace qv::test;
using qv::test::DialogTest;

namespace {

// The widest text of a list column over every row, as the list's font draws it.
int WidestText(QTreeView *list, int column)
{
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        widest = std::max(widest, metrics.horizontalAdvance(list->model()->index(row, column).data().toString()));
    return widest;
}

// The room a combo box gives its text.
int TextRoom(QComboBox *combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    return combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
}

} // namespace

// The first showing fits every column to header and rows, all 2000 of them
// ("1000" after the first rows' "99"); the next showing, with "Id" as the key
// column, shows the key icon on "Id" alone and still shows its caption whole.
TEST_F(DialogTest, ColumnsFitTheirTextsAndOnlyKeysCarryTheKeyIcon)
{
    frmSelectDataItems first;
    SelectRequest request;
    request.oDataView = View("Sample Large Orders");
    std::shared_ptr<biz::Settings> settings;
    RunSelect(first, request, [](frmSelectDataItems &f) {
        QTreeView *list = List(f);
        ASSERT_EQ(list->model()->rowCount(), 987);
        for (int column = 1; column < list->model()->columnCount(); ++column)
            EXPECT_GE(list->header()->sectionSize(column), WidestText(list, column)) << "column " << column;
        TickRow(f, 0);
        Click(f, "cmdOK");
    });
    settings = first.Result().Settings();
    ASSERT_TRUE(settings);
    settings->Columns->Item(QStringLiteral("Id"))->Linked = true;

    frmSelectDataItems again;
    request.oSettings = settings;
    RunSelect(again, request, [](frmSelectDataItems &f) {
        QTreeView *list = List(f);
        for (int column = 1; column < list->model()->columnCount(); ++column) {
            const QString caption = list->model()->headerData(column, Qt::Horizontal).toString();
            const bool icon = !list->model()->headerData(column, Qt::Horizontal, Qt::DecorationRole).isNull();
            EXPECT_EQ(icon, caption == QStringLiteral("Id")) << caption.toStdString();
            if (caption == QStringLiteral("Id")) {
                EXPECT_GE(list->header()->sectionSize(column), list->header()->sectionSizeHint(column))
                    << "the key icon cuts the caption";
            }
        }
        Click(f, "cmdCancel");
    });
}

// At its smallest the dialog still shows every operator and layout whole.
TEST_F(DialogTest, ListEntriesAreWholeAtTheSmallestSize)
{
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Large Orders");
    RunSelect(form, request, [](frmSelectDataItems &f) {
        f.resize(f.minimumSize());
        ChooseText(Child<QComboBox>(f, "cboField"), QStringLiteral("Amount"));
        QApplication::sendPostedEvents();
        for (const char *name : {"cboOperator", "cboFormatType", "cboInsertPosition"}) {
            auto *combo = Child<QComboBox>(f, name);
            ASSERT_GT(combo->count(), 0) << name;
            for (int i = 0; i < combo->count(); ++i)
                EXPECT_GE(TextRoom(combo), combo->fontMetrics().horizontalAdvance(combo->itemText(i)))
                    << name << ": " << combo->itemText(i).toStdString();
        }
        Click(f, "cmdCancel");
    });
}

// The value list gives amounts, dates and Yes/No as a filter takes them, and
// a value picked from it finds its rows.
TEST_F(DialogTest, ValueListEntriesAreEditTextsThatFilter)
{
    frmSelectDataItems form;
    SelectRequest request;
    request.oDataView = View("Sample Products (database)");
    RunSelect(form, request, [](frmSelectDataItems &f) {
        auto *values = Child<QComboBox>(f, "cboParam");
        const auto listFor = [&](const char *field) {
            ChooseText(Child<QComboBox>(f, "cboField"), QString::fromUtf8(field));
            values->setFocus();
            QTest::keyClick(values, Qt::Key_Down);
            EXPECT_TRUE(WaitIdle(f));
            QStringList texts;
            for (int i = 2; i < values->count(); ++i)
                texts << values->itemText(i);
            QTest::keyClick(values, Qt::Key_Escape);
            return texts;
        };
        const QStringList prices = listFor("UnitPrice");
        ASSERT_FALSE(prices.isEmpty());
        for (const QString &price : prices) {
            bool number = false;
            price.toDouble(&number);
            EXPECT_TRUE(number) << "an amount is edited without symbols: " << price.toStdString();
        }
        for (const QString &flag : listFor("Discontinued"))
            EXPECT_TRUE(flag == QStringLiteral("Yes") || flag == QStringLiteral("No")) << flag.toStdString();

        listFor("UnitPrice");
        values->setCurrentIndex(2);
        Click(f, "cmdApplyFilter");
        ASSERT_TRUE(WaitIdle(f));
        EXPECT_GT(Viewer(f)->RecordCount(), 0) << "the listed value " << prices.first().toStdString() << " finds nothing";
        Click(f, "cmdCancel");
    });
}
