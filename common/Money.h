#pragma once

#include <QString>
#include <QtGlobal>

#include <compare>
#include <optional>

// An amount of money in whole cents. Texts from files, the settings store and the dialogs
// are turned into cents once, when they come in; every sum and comparison after that is
// exact, so a card that shows $0.00 holds exactly nothing.
class Money {
public:
    constexpr Money() = default;
    static constexpr Money cents(qint64 c) { return Money(c); }
    static constexpr Money dollars(qint64 d) { return Money(d * 100); }

    // The nearest whole cent, halves away from zero, judged on the value's 15-digit
    // decimal form (so 1.005 is 1.01). Values beyond the range of amounts are clamped.
    static Money fromDouble(double value);

    // A fare as a route line writes it: a decimal number with optional sign, point and
    // exponent, blanks around it allowed; rounded to the nearest cent, halves away from
    // zero, as "0.00" shows it. Nothing when it is not a number or beyond the range.
    static std::optional<Money> parse(const QString& text);

    // The largest amount handled: far beyond any fare or card value, and small enough
    // that no sum of two amounts can overflow.
    static constexpr qint64 MaxCents = 1'000'000'000'000'000; // ten trillion dollars

    constexpr qint64 inCents() const { return m_cents; }

    // "0.00": at least one digit before the point, exactly two after, a leading minus sign
    // when negative, no grouping.
    QString text() const;
    // The shortest form: 95.2, 100, -35, 0.5, 1.75.
    QString shortText() const;

    // Half of the amount to the cent, halves to the even cent; a half that needs two
    // decimals is raised to the next ten cents: 3.50 gives 1.80, 4.70 gives 2.40.
    Money halfFare() const;

    constexpr Money operator+(Money o) const { return Money(m_cents + o.m_cents); }
    constexpr Money operator-(Money o) const { return Money(m_cents - o.m_cents); }
    constexpr auto operator<=>(const Money&) const = default;

private:
    constexpr explicit Money(qint64 c) : m_cents(c) {}
    qint64 m_cents = 0;
};
