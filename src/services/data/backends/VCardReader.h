#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace qv::data {

// One content line of a vCard, unfolded and decoded: quoted-printable and
// charset parameters applied, so Value is the property's text with its
// backslash escapes still in place (structured values split on them).
struct VCardProperty
{
    QString Group; // "item1" of "item1.EMAIL"
    QString Name;  // upper case
    QStringList Types; // lower case; TYPE=a,b, TYPE="a,b" and 2.1's bare ;HOME;CELL alike
    bool Preferred = false; // TYPE=pref, bare PREF or PREF=n
    QString Value;
};

struct VCard
{
    QString Version;
    QList<VCardProperty> Properties;

    // The first property of that name (upper case), or nullptr.
    const VCardProperty *First(const QString &name) const;
    // All properties of that name, the preferred ones first, otherwise in file order.
    QList<const VCardProperty *> All(const QString &name) const;
};

// Every card of a file in versions 2.1, 3.0 and 4.0: folded lines (a leading
// blank, and 2.1's soft line breaks in quoted-printable values), grouped
// properties, several cards a file; a card embedded in another (2.1's AGENT)
// is skipped. Text is UTF-8 unless a CHARSET parameter or a byte-order mark
// says otherwise. Broken input gives the cards that could be read, never an error.
QList<VCard> ParseVCards(const QByteArray &bytes);

// A card or calendar file's bytes as UTF-8: a file written as UTF-16 carries
// a byte-order mark and is decoded; any other is left byte-wise, its
// properties decoded one at a time, a UTF-8 byte-order mark dropped.
QByteArray CardFileAsUtf8(const QByteArray &bytes);

// A text value with its escapes resolved: \n is a line break, \x is x.
QString UnescapeVCardText(QStringView value);

// A structured value (N, ADR, ORG) split at its unescaped separators, each
// component unescaped.
QStringList SplitVCardValue(QStringView value, QChar separator = u';');

} // namespace qv::data
