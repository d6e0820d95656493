// Names of parametrised test cases: each case named after its own label, as a valid test name.
#pragma once
#include <gtest/gtest.h>
#include <cctype>
#include <cstddef>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

// The text with every character other than a letter or a digit made '_'.
inline std::string test_name_of(const std::string &text)
{
    std::string name = text;
    for (char &c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

// A number as a part of a test name: "minus_3" for -3.
inline std::string number_name(long long n) { return n < 0 ? "minus_" + std::to_string(-n) : std::to_string(n); }

template <class T, class = void>
struct has_label_field : std::false_type {};
template <class T>
struct has_label_field<T, std::void_t<decltype(std::declval<const T &>().label)>> : std::true_type {};

template <class T, class = void>
struct has_name_field : std::false_type {};
template <class T>
struct has_name_field<T, std::void_t<decltype(std::declval<const T &>().name)>> : std::true_type {};

// A case's own label: a text is its own; a case with a `label` or a `name` field has that; any
// other case type has a `case_label` function of its own beside it (found by argument lookup).
template <class T>
std::string label_of(const T &c)
{
    if constexpr (std::is_convertible_v<const T &, std::string>)
        return c;
    else if constexpr (has_label_field<T>::value)
        return c.label;
    else if constexpr (has_name_field<T>::value)
        return c.name;
    else
        return case_label(c);
}

// A combined case (testing::Combine): the labels of its parts joined by '_'.
template <class... T>
std::string label_of(const std::tuple<T...> &c)
{
    std::string joined;
    std::size_t parts = 0;
    std::apply([&](const T &...part) { ((joined += (parts++ ? "_" : "") + label_of(part)), ...); }, c);
    return joined;
}

// The name generator of a table: INSTANTIATE_TEST_SUITE_P(cases, suite, testing::ValuesIn(table), label_name());
struct label_name {
    template <class T>
    std::string operator()(const testing::TestParamInfo<T> &info) const
    {
        return test_name_of(label_of(info.param));
    }
};
