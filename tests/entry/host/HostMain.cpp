// A host as a word processor's add-in would be: it includes the installed
// header only, creates DVUser and calls the members that need no user.
#include <qvuser/DVUser.h>

#include <QApplication>

#include <cstdio>
#include <exception>

static_assert(Personal == 1 && Team == 2 && NotSpecified == -1);
static_assert(FormatTypeTableWithRowHeader == 5 && InsertPositionAfter == 2);
static_assert(FirstNotSpecified == -1 && SecondQuorivoField == 3);
static_assert(DVUser::DispidGetValueListDictionary == 0x60030012);
static_assert(DVUser::DispidShowSelectData == 0x6003000B && DVUser::DispidInsertDataSelectionRawRS == 0x60030013);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int failures = 0;
    auto check = [&](bool ok, const char *what) {
        if (!ok) {
            std::fprintf(stderr, "qvhost: %s\n", what);
            ++failures;
        }
    };
    try {
        DVUser first;
        {
            DVUser second;
            std::shared_ptr<qv::config::DataView> none;
            check(!second.ValidateDataViewFieldValue(none, QStringLiteral("1"), QString()),
                  "a missing data view was taken as valid");
            check(first.DataViewDataServices() == nullptr, "data services exist before any was set or needed");
            try {
                second.GetValueListDictionary(none, QStringLiteral("City"), false);
                check(false, "a value list without a data view raised nothing");
            } catch (const std::exception &) {
                // The host sees the failure as an exception it can catch by its base class.
            }
            check(none == nullptr, "the reference changed");
        }
        check(!first.InsertDataCancelled() && first.InsertDataView() == nullptr,
              "Insert Data results exist before any Insert Data");
        check(first.InsertDataSelectionRS() == nullptr && first.InsertDataSelectionRawRS() == nullptr,
              "a selection exists before any Insert Data");
        first.CloseForms();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "qvhost: unexpected exception: %s\n", error.what());
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
