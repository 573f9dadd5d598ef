#pragma once

// The recognizer terms dialog's request, state and result, Qt
// Core only: the two term lists as the dialog shows them, the numbering of
// new terms, which buttons work, and the lists OK writes back.

#include <QString>
#include <QStringList>

#include <array>

namespace qv::config {
class Recognizer;
}

namespace qv::smarttags {

// What the manager hands the dialog for one smart tag.
struct SmartTagTermsRequest
{
    QString sSmartTagName; // the caption's end ("" for none)
    // The recognizer's data view and field, when it recognizes from one.
    bool bHasDataView = false;
    QString sDataViewName, sFieldName;
    QStringList colIncluded, colExcluded;

    // The request for a recognizer, in its lists' order.
    static SmartTagTermsRequest For(const config::Recognizer &oRecognizer, const QString &sSmartTagName);
};

// What the showing answered: cancelled, or the lists in the order shown.
struct SmartTagTermsResult
{
    bool bCancelled = true;
    QStringList colIncluded, colExcluded;

    // OK's writing back: the excluded terms removed one by one at position
    // 1 and the shown ones added in order, then the same for the additional
    // terms. A cancelled result leaves the recognizer untouched.
    void WriteBack(config::Recognizer &oRecognizer) const;
};

class SmartTagTermsState
{
public:
    // The two lists: the additional (included) terms and the excluded ones.
    enum List { Included = 0, Excluded = 1 };
    enum class Sort { None, Ascending, Descending };

    struct Buttons
    {
        bool bRename = false, bDelete = false;
        bool operator==(const Buttons &) const = default;
    };

    static QString Caption(const QString &sSmartTagName);
    // "This Smart Tag uses terms from the FIELD field of the VIEW Data View
    // as recognizers." (names in capitals), or that it uses none.
    static QString DataViewSentence(const SmartTagTermsRequest &oRequest);
    // "(New Term n)".
    static QString NewTermText(int lNumber);
    // The number the next new term gets: one count for the process, never
    // reset, so that a dialog opened again goes on counting.
    static int NextTermNumber();

    void Begin(const SmartTagTermsRequest &oRequest);
    const SmartTagTermsRequest &Request() const { return m_oRequest; }
    const QStringList &Terms(List lList) const { return m_colTerms[lList]; }

    // Adds a new term at the end of the list and answers its row.
    int NewTerm(List lList);
    // A label edited in place: the text stays exactly as typed.
    void SetTerm(List lList, int lRow, const QString &sText);
    // Removes the rows; answers the row to select afterwards: lSelectedRow
    // (the row that was selected), or the last one when that is past the
    // end; -1 when the list is empty.
    int DeleteTerms(List lList, QList<int> colRows, int lSelectedRow);
    // Rename and Delete of a list with that many items, that many selected.
    static Buttons ButtonStates(int lItemCount, int lSelectedCount);
    // A header click: ascending when not sorted yet, else the other order;
    // the list is sorted so (without regard to case) and answers the order.
    Sort SortList(List lList);
    Sort SortOrder(List lList) const { return m_colSort[lList]; }

    // The result, once: OK takes the lists as shown, Cancel nothing.
    const SmartTagTermsResult &Finish(bool bOk);
    const SmartTagTermsResult &Result() const { return m_oResult; }

private:
    SmartTagTermsRequest m_oRequest;
    std::array<QStringList, 2> m_colTerms;
    std::array<Sort, 2> m_colSort{Sort::None, Sort::None};
    SmartTagTermsResult m_oResult;
    bool m_bFinished = false;
};

} // namespace qv::smarttags
