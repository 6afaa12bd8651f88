#pragma once

#include <QTest>

#include <tuple>

// A data table's columns named in order; one row of it; the current row's
// values, fetched by name in the order asked.
template <typename... Types, typename... Names> void columns(const Names &...names) {
    (QTest::addColumn<Types>(names), ...);
}
template <typename... Columns> void row(const char *name, const Columns &...values) {
    (QTest::newRow(name) << ... << values);
}
template <typename... Types, typename... Names> std::tuple<Types...> fetch(const Names &...names) {
    return {*static_cast<Types *>(QTest::qData(names, qMetaTypeId<Types>()))...};
}
