#pragma once

#include "wordproc/Format.h"
#include "wordproc/Model.h"

#include <QLatin1String>
#include <QString>
#include <QStringView>
#include <array>
#include <cstddef>

// The words of Office Open XML that the reader and the writer share, each
// written once: what a file says for a value of the model, and back.
namespace wordproc::ooxml {

inline constexpr char kWordNamespace[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
inline constexpr char kRelationshipsNamespace[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr char kPackageRelationshipsNamespace[] = "http://schemas.openxmlformats.org/package/2006/relationships";

// A relationship type is a namespace, a slash and a path; readers know the
// type by the path's last segment, whichever namespace a file wrote it in.
struct RelationshipType {
    const char* base;
    const char* path;
    QString uri() const;
    QString name() const;
};
inline constexpr RelationshipType kOfficeDocument{kRelationshipsNamespace, "officeDocument"};
inline constexpr RelationshipType kStyles{kRelationshipsNamespace, "styles"};
inline constexpr RelationshipType kSettings{kRelationshipsNamespace, "settings"};
inline constexpr RelationshipType kFontTable{kRelationshipsNamespace, "fontTable"};
inline constexpr RelationshipType kExtendedProperties{kRelationshipsNamespace, "extended-properties"};
inline constexpr RelationshipType kCoreProperties{kPackageRelationshipsNamespace, "metadata/core-properties"};

// One row of a two-way table: a value of the model and its token in a file.
template <class T> struct Term {
    T value;
    const char* token;
};

// A value is written as the token of its first row; later rows of the same
// value are other spellings a file may hold. A token reads as its row's
// value. Unknown tokens read as the fallback, and a value without a row is
// written as the fallback is.
template <class T, std::size_t N> struct Terms {
    std::array<Term<T>, N> rows;
    T fallback;

    QLatin1String token(T value) const
    {
        for (const Term<T>& row : rows)
            if (row.value == value)
                return QLatin1String(row.token);
        for (const Term<T>& row : rows)
            if (row.value == fallback)
                return QLatin1String(row.token);
        return QLatin1String();
    }
    T value(QStringView token) const
    {
        for (const Term<T>& row : rows)
            if (token == QLatin1String(row.token))
                return row.value;
        return fallback;
    }
};

template <class T, std::size_t N> constexpr Terms<T, N> terms(const Term<T> (&rows)[N], T fallback)
{
    return {std::to_array(rows), fallback};
}

// w:u
inline constexpr auto kUnderlines = terms<int>({{UnderlineNone, "none"},
                                                {UnderlineSingle, "single"},
                                                {UnderlineWords, "words"},
                                                {UnderlineDouble, "double"},
                                                {UnderlineDotted, "dotted"},
                                                {UnderlineThick, "thick"},
                                                {UnderlineDash, "dash"},
                                                {UnderlineWavy, "wave"}},
                                               UnderlineSingle);

// w:effect, the text animations by the object model's numbers.
inline constexpr auto kAnimations = terms<int>({{0, "none"},
                                                {1, "lights"},
                                                {2, "blinkBackground"},
                                                {3, "sparkle"},
                                                {4, "antsBlack"},
                                                {5, "antsRed"},
                                                {6, "shimmer"}},
                                               0);

// w:jc
inline constexpr auto kAlignments = terms<Align>({{Align::Left, "left"},
                                                  {Align::Center, "center"},
                                                  {Align::Right, "right"},
                                                  {Align::Justify, "both"},
                                                  {Align::Right, "end"},
                                                  {Align::Justify, "distribute"}},
                                                 Align::Left);

// w:style's w:type
inline constexpr auto kStyleTypes = terms<StyleType>({{StyleType::Paragraph, "paragraph"},
                                                      {StyleType::Character, "character"},
                                                      {StyleType::Table, "table"},
                                                      {StyleType::Numbering, "numbering"}},
                                                     StyleType::Paragraph);

// Character effects a run switches on and off, one element each. Bold and
// italic are written a second time for complex scripts; only the first
// element of each is read.
struct Effect {
    std::optional<bool> CharFormat::*member;
    const char* token;
    const char* complexScript = nullptr;
};
inline constexpr auto kEffects = std::to_array<Effect>({
    {&CharFormat::bold, "b", "bCs"},
    {&CharFormat::italic, "i", "iCs"},
    {&CharFormat::allCaps, "caps"},
    {&CharFormat::smallCaps, "smallCaps"},
    {&CharFormat::strike, "strike"},
    {&CharFormat::doubleStrike, "dstrike"},
    {&CharFormat::outline, "outline"},
    {&CharFormat::shadow, "shadow"},
    {&CharFormat::emboss, "emboss"},
    {&CharFormat::engrave, "imprint"},
    {&CharFormat::hidden, "vanish"},
});
// The effect an element of the main namespace switches, or none.
const Effect* effectNamed(QStringView element);

}  // namespace wordproc::ooxml
