#pragma once

#include "automation/Variant.h"
#include "biz/FieldKinds.h"
#include "scripting/Collection.h"
#include "scripting/Dictionary.h"
#include "FormattedTextCache.h"

#include <memory>

namespace qv {

// The single authority on how a value of a field kind is shown: the format
// catalogue and defaults per kind, examples, and the forgiving conversions
// between typed text, display text, edit text and values. No member raises;
// unreadable input gives the caller's default, Null or "".
class DataFormat
{
public:
    DataFormat();

    // --- catalogue
    qint32 ADOTypeToQuorivoFieldType(int adoType) const;
    int QuorivoFieldTypeToADOType(qint32 fieldType) const;
    bool IsMemo(int adoType) const;
    QString GetDataFormatDefault(qint32 fieldType) const;
    void SetFormatDefault(const QString &formatName, qint32 fieldType);
    // Appends the kind's default and then its catalogue to `list`, creating
    // it when null. Raises 457 when the default is already in a reused list.
    void GetDataFormatStrings(qint32 fieldType, std::shared_ptr<Collection> &list) const;
    QString GetDataFormatExample(const QString &formatName, qint32 fieldType, bool singleLine) const;

    // --- display and edit texts
    QString GetFormattedData(const QString &data, const QString &format, qint32 fieldType) const;
    // The text GetFormattedData gives for `value & ""`, without writing a
    // typed number or date out and reading it back: a number of a number
    // kind, and a date of the date kind while date resolving is suppressed,
    // go straight to the format. Null and Empty give "".
    QString GetFormattedValue(const Variant &value, const QString &format, qint32 fieldType) const;
    QString GetFormattedDataForEdit(const QString &data, qint32 fieldType, const QString &viewFormat) const;
    QString GetRawValue(const Variant &value, qint32 fieldType) const;
    Variant ToValue(const Variant &value, qint32 fieldType, const Variant &defaultValue) const;

    // --- conversions; each gives `defaultValue` when the value does not convert
    Variant ToString(const Variant &value, const Variant &defaultValue) const;
    Variant ToDecimal(const Variant &value, const Variant &defaultValue) const;
    Variant ToCurrency(const Variant &value, const Variant &defaultValue) const;
    Variant ToPercent(const Variant &value, const Variant &defaultValue) const;
    Variant ToDate(const Variant &value, const Variant &defaultValue) const;
    Variant ToTime(const Variant &value, const Variant &defaultValue) const;
    Variant ToBoolean(const Variant &value, const Variant &defaultValue) const;
    Variant FormatBoolean(const Variant &value, const Variant &defaultValue, const QString &trueText,
                          const QString &falseText) const;
    Variant FormatDate(const Variant &value, const Variant &defaultValue) const;
    Variant FormatTime(const Variant &value, const Variant &defaultValue) const;

    // "yyyy-mm-dd hh:nn:ss" of a date typed in many ways, or "".
    QString ResolveDateString(const QString &text) const;
    // "HH:nn:ss" of a time typed in many ways ("9" is nine o'clock), or "".
    QString ResolveTimeString(const QString &text) const;

    void SetSupressDateResolve(bool suppress);
    void SetSupressTimeResolve(bool suppress);

private:
    QString ChooseFormat(const QString &format, qint32 fieldType) const;
    QString NormalisedDateFormat(const QString &format) const;
    QString FormatData(const QString &data, const QString &format, qint32 fieldType) const;

    Dictionary m_defaults;
    bool m_supressDateResolve = false;
    bool m_supressTimeResolve = false;
    // Columns repeat their format, so the last normalised one is kept.
    mutable QString m_lastDateFormat;
    mutable QString m_lastNormalised;
    mutable FormattedTextCache m_texts;
    mutable quint64 m_textsGeneration = 0; // of the locale facts the texts were made under
};

} // namespace qv
