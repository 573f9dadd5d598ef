#pragma once

#include <QList>
#include <QString>

#include <memory>

namespace qv::config {
class DataView;
}
namespace qv::data {
class SmartTagTerms;
}

namespace qvdemo {

// One action of a smart tag on one recognized term, ready to run: Insert
// Data or View Data on the action's data view filtered to the term.
struct SmartTagCommand
{
    QString Prompt;                                // the action's name, as the menu shows it
    bool Insert = false;                           // Insert Data; otherwise View Data
    std::shared_ptr<qv::config::DataView> DataView; // a filtered copy, in no configuration
    qint32 Layout = 0;                             // the action's layout (eFormatType); 0 none chosen
    QString Style;
    QString Term;        // the term as the tag's source holds it
    qint32 FilterId = -1; // the copy's condition on the term, which Insert Data shows in its filter row; -1 none
};

// A copy of the data view under its identifier, in no store, whose `field`
// must also equal `value`; the saved data view is left as it is. Without the
// field the copy is not filtered. `filterId`, when given, receives the
// identifier of the condition on the value (-1 without one).
std::shared_ptr<qv::config::DataView> FilteredCopy(const qv::config::DataView &view, const QString &field,
                                                   const QString &value, qint32 *filterId = nullptr);

// The actions of every smart tag that recognizes a term at `position` of the
// paragraph `text`, in the order of the tags and their actions. Actions whose
// data view has gone are left out.
QList<SmartTagCommand> CommandsAt(const qv::data::SmartTagTerms &terms, const QString &text, qsizetype position);

} // namespace qvdemo
