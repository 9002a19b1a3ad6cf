#pragma once
// The published properties and events of a class as a table of rows, name ->
// setter. A class's table starts from its base class's table and adds its
// own rows, so a new property is one more row:
//
//   const TPropertyTable<TComponent>& TLabel::Properties() const
//   {
//       static const TPropertyTable<TComponent> table(TGraphicControl::Properties(), {
//           Field("Transparent", &TLabel::FTransparent),
//           EnumField("Layout", &TLabel::FLayout, LayoutNames),
//           Ignored("WordWrap"),
//       });
//       return table;
//   }
//
// Names match in any letter case. A value of the wrong kind, or an
// enumeration name the table does not list, raises EConvertError.

#include "base/Component.h"
#include "base/EnumNames.h"
#include "base/PropertyValue.h"

#include <concepts>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace orbelin {

// A value converted to the type of the field or argument it is stored in.
template <class V>
V PropertyValueAs(const TPropertyValue& value)
{
    if constexpr (std::is_same_v<V, bool>)
        return value.AsBoolean();
    else if constexpr (std::is_integral_v<V>)
        return static_cast<V>(value.AsInteger());
    else if constexpr (std::is_floating_point_v<V>)
        return static_cast<V>(value.AsFloat());
    else if constexpr (std::is_same_v<V, std::string>)
        return value.AsString();
    else if constexpr (std::is_same_v<V, std::vector<std::string>>)
        return value.AsStrings();
    else
        static_assert(std::is_same_v<V, void>, "no conversion from a property value to this type");
}

// A name that descriptions may carry and the class has no use for (values
// of the designer, parts the program does not draw).
struct TIgnoredProperty {
    const char* Name;
};

template <class T>
struct TPropertyRow {
    using TSetter = std::function<void(T&, const TPropertyValue&)>;
    using TBinder = std::function<void(T&, TNotifyEvent)>;
    // For "Font.Name": the part's own table takes "Name".
    using TPartSetter = std::function<bool(T&, std::string_view rest, const TPropertyValue&)>;

    TPropertyRow(std::string name, TSetter set, TBinder bind = {}, TPartSetter part = {})
        : Name(std::move(name)), Set(std::move(set)), Bind(std::move(bind)), Part(std::move(part))
    {
    }
    TPropertyRow(TIgnoredProperty ignored) : Name(ignored.Name), Set([](T&, const TPropertyValue&) {}) {}

    // A row of a derived class in the table its objects are reached through.
    template <class D>
        requires(std::derived_from<D, T> && !std::same_as<D, T>)
    TPropertyRow(TPropertyRow<D> row) : Name(std::move(row.Name))
    {
        if (row.Set)
            Set = [set = std::move(row.Set)](T& o, const TPropertyValue& v) { set(static_cast<D&>(o), v); };
        if (row.Bind)
            Bind = [bind = std::move(row.Bind)](T& o, TNotifyEvent h) { bind(static_cast<D&>(o), std::move(h)); };
        if (row.Part)
            Part = [part = std::move(row.Part)](T& o, std::string_view rest, const TPropertyValue& v) {
                return part(static_cast<D&>(o), rest, v);
            };
    }

    // A row of a base class: it applies to this class's objects unchanged.
    template <class B>
        requires(std::derived_from<T, B> && !std::same_as<B, T>)
    TPropertyRow(TPropertyRow<B> row)
        : Name(std::move(row.Name)), Set(std::move(row.Set)), Bind(std::move(row.Bind)), Part(std::move(row.Part))
    {
    }

    std::string Name; // a part's row ends with '.'
    TSetter Set;
    TBinder Bind;
    TPartSetter Part;
};

template <class T>
class TPropertyTable {
public:
    explicit TPropertyTable(std::initializer_list<TPropertyRow<T>> rows) : FRows(rows) {}
    TPropertyTable(const TPropertyTable& base, std::initializer_list<TPropertyRow<T>> rows) : FBase(&base), FRows(rows)
    {
    }
    TPropertyTable(TPropertyTable&&) = delete;
    TPropertyTable& operator=(TPropertyTable&&) = delete;

    // False for a name neither this table nor its bases list.
    bool SetProperty(T& object, std::string_view name, const TPropertyValue& value) const
    {
        for (const TPropertyTable* table = this; table; table = table->FBase) {
            for (const TPropertyRow<T>& row : table->FRows) {
                if (row.Set && SameText(row.Name, name)) {
                    row.Set(object, value);
                    return true;
                }
                if (row.Part && name.size() > row.Name.size() && StartsText(row.Name, name))
                    return row.Part(object, name.substr(row.Name.size()), value);
            }
        }
        return false;
    }

    bool SetEvent(T& object, std::string_view name, TNotifyEvent handler) const
    {
        if (const TPropertyRow<T>* row = FindEvent(name)) {
            row->Bind(object, std::move(handler));
            return true;
        }
        return false;
    }

    bool HasEvent(std::string_view name) const { return FindEvent(name) != nullptr; }

private:
    const TPropertyRow<T>* FindEvent(std::string_view name) const
    {
        for (const TPropertyTable* table = this; table; table = table->FBase)
            for (const TPropertyRow<T>& row : table->FRows)
                if (row.Bind && SameText(row.Name, name))
                    return &row;
        return nullptr;
    }

    const TPropertyTable* FBase = nullptr;
    std::vector<TPropertyRow<T>> FRows;
};

// ---- Rows

// A field stored as its type reads the value (see PropertyValueAs).
template <class C, class V>
TPropertyRow<C> Field(const char* name, V C::*field)
{
    return {name, [field](C& o, const TPropertyValue& v) { o.*field = PropertyValueAs<V>(v); }};
}

// A setter with one argument, for properties whose change does more than store.
template <class C, class A>
TPropertyRow<C> Setter(const char* name, void (C::*set)(A))
{
    using V = std::remove_cvref_t<A>;
    return {name, [set](C& o, const TPropertyValue& v) { (o.*set)(PropertyValueAs<V>(v)); }};
}

// An enumeration field set from one of the names of its table.
template <class C, class E, class Names>
TPropertyRow<C> EnumField(const char* name, E C::*field, const Names& names)
{
    return {name, [field, &names](C& o, const TPropertyValue& v) { o.*field = EnumFromName(names, v.AsIdentifier()); }};
}

// A set of flags ("[biSystemMenu, biMinimize]"): the members' values ORed.
template <class C, class F, class Names>
TPropertyRow<C> FlagsField(const char* name, F C::*field, const Names& names)
{
    return {name, [field, &names](C& o, const TPropertyValue& v) {
                F flags{};
                for (const auto member : EnumsFromNames(names, v.AsSet()))
                    flags = static_cast<F>(flags | member);
                o.*field = flags;
            }};
}

// Any other way of taking the value.
template <class C>
TPropertyRow<C> Property(const char* name, typename TPropertyRow<C>::TSetter set)
{
    return {name, std::move(set)};
}

template <class C>
TPropertyRow<C> Event(const char* name, TNotifyEvent C::*event)
{
    return {name, {}, [event](C& o, TNotifyEvent handler) { o.*event = std::move(handler); }};
}

// The rows of a part's own table under a prefix ("Font." + "Name"); access
// returns the part of the object the value is for.
template <class C, class P>
TPropertyRow<C> Part(const char* prefix, const TPropertyTable<P>& part, std::type_identity_t<std::function<P&(C&)>> access)
{
    return {prefix, {}, {}, [&part, access](C& o, std::string_view rest, const TPropertyValue& v) {
                return part.SetProperty(access(o), rest, v);
            }};
}

// A component part ("SocksInfo." + "Host"), set through its own table.
template <class C>
TPropertyRow<C> Part(const char* prefix, std::type_identity_t<std::function<TComponent&(C&)>> access)
{
    return {prefix, {}, {}, [access](C& o, std::string_view rest, const TPropertyValue& v) {
                return access(o).SetProperty(rest, v);
            }};
}

inline TIgnoredProperty Ignored(const char* name) { return {name}; }

} // namespace orbelin
