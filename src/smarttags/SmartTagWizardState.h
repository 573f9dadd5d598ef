#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace qv::config {
class ConfigStore;
class SmartTag;
} // namespace qv::config

namespace qv::smarttags {

// The registry key under which the Smart Tag Wizard keeps "SkipWelcome".
inline constexpr auto kSmartTagWizardKey = "Smart Tag Wizard";

enum SmartTagStep : int { StepWelcome = 1, StepActions, StepRecognizer, StepTerms, StepFinish };

// What a caller sets before the Smart Tag Wizard shows.
struct SmartTagWizardRequest
{
    std::shared_ptr<config::ConfigStore> Store;
    qint32 SmartTagId = 0; // 0 (or an unknown one): a new smart tag
    qint32 ConfigFileType = 1;
    QStringList TableStyles;
    QStringList ParagraphStyles;
};

struct SmartTagWizardResult
{
    bool Cancelled = true;
    qint32 SmartTagId = 0;
};

// A page check that failed: the message and its argument.
struct Refusal
{
    quint32 MessageId = 0;
    QString Argument;
    explicit operator bool() const { return MessageId != 0; }
};

// What the pages hold when the wizard checks or finishes.
struct SmartTagChoices
{
    bool FromDataView = false;
    QString DataViewName; // the picker's text
    QString FieldName;    // the field combo's text
    QStringList Terms;    // the term list's rows
    QString Name;         // the name box, trimmed by the state
    QString Description;
    bool Enabled = true;
};

// The Smart Tag Wizard's decisions, without a window: the smart tag it works
// on in the store, the steps and their buttons, the page checks, writing the
// recognizer and the terms, and the name it proposes.
class SmartTagWizardState
{
public:
    // Starts a showing: adds a new smart tag to the store's first smart tag
    // set, or takes the one of the request (an unknown one starts a new one).
    void Begin(const SmartTagWizardRequest &oRequest, bool bSkipWelcome);

    const std::shared_ptr<config::SmartTag> &Tag() const { return m_oTag; }
    // Looks the smart tag up again: a nested wizard that puts the store back
    // makes its objects anew.
    void Refetch();
    const std::shared_ptr<config::ConfigStore> &Store() const { return m_oStore; }
    bool IsNew() const { return m_bNew; }
    int FirstStep() const { return m_bSkipWelcome ? StepActions : StepWelcome; }
    int Step() const { return m_lStep; }
    void SetStep(int lStep) { m_lStep = lStep; }

    struct Buttons
    {
        bool Back = false;
        bool Next = false;
        bool Finish = false;
    };
    Buttons ButtonsOf(int lStep) const;

    // Edits count only once the showing has started.
    void SetLoading(bool bLoading) { m_bLoading = bLoading; }
    bool Loading() const { return m_bLoading; }
    void MarkChanged();
    bool Changed() const { return m_bChanged; }
    void MarkNameTyped() { m_bNameTyped = true; }

    // The check of Next on a step, writing what the step holds; a refusal keeps the page.
    Refusal LeaveStep(int lStep, const SmartTagChoices &oChoices);
    // The checks of Finish from the current step on; on success the name,
    // description and enabled flag are set and the result is built.
    Refusal Finish(const SmartTagChoices &oChoices);
    const SmartTagWizardResult &Result() const { return m_oResult; }

    // The name the finish page proposes for a smart tag without one.
    QString ProposedName() const;
    // "(New Term N)", numbered across every showing of the process.
    static QString NextNewTerm();

private:
    Refusal ActionCheck() const;
    Refusal FieldCheck(const SmartTagChoices &oChoices) const;
    Refusal TermCheck() const;
    Refusal NameCheck(const QString &sName) const;
    void WriteRecognizer(const SmartTagChoices &oChoices);
    void WriteTerms(const QStringList &colRows);

    std::shared_ptr<config::ConfigStore> m_oStore;
    std::shared_ptr<config::SmartTag> m_oTag;
    SmartTagWizardResult m_oResult;
    QString m_sOriginalName;
    int m_lStep = StepWelcome;
    bool m_bNew = true;
    bool m_bSkipWelcome = false;
    bool m_bLoading = false;
    bool m_bChanged = false;
    bool m_bNameTyped = false;
};

} // namespace qv::smarttags
