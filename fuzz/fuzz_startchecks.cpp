// libFuzzer target over the arithmetic of starting a task: whatever a user
// types into the number field and the unit box, and whatever count the
// time-left text is asked to spell, Morvane must neither crash, nor run into
// undefined behaviour, nor let a count wrap. Every answer is checked against
// the same computation done in 128 bits.
//
// Input layout (see FuzzedDataProvider): from the end, a mode byte, two
// 64-bit counts and the bits of a double; from the front, the unit text up
// to the first lone backslash, then the number-field text, read as UTF-8 or,
// by the mode byte, as raw UTF-16 so that lone surrogates and non-ASCII
// digits reach the parser too. fuzz/seeds.py writes the seed corpus.

#include "schedule/CalendarMath.h"
#include "schedule/StartChecks.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace {

using Wide = __int128;
constexpr qint64 Max = std::numeric_limits<qint64>::max();
constexpr qint64 Min = std::numeric_limits<qint64>::min();

[[noreturn]] void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "fuzz_startchecks: %s: %s\n", what, qUtf8Printable(detail));
    std::abort();
}

#define REQUIRE(condition, detail)                                                                                     \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            fail(#condition, detail);                                                                                  \
    } while (false)

QString number(Wide value)
{
    // Enough for the values checked here, which all fit in 64 bits plus a
    // few more.
    return value > Max || value < Min ? QStringLiteral("(beyond 64 bits)") : QString::number(qint64(value));
}

bool fits(Wide value)
{
    return value >= Min && value <= Max;
}

// The leading-number rule, written out independently: blanks, an optional
// sign, ASCII digits. The magnitude is kept exact up to 2^100; beyond that
// only "too large" matters.
StartChecks::LeadingNumber referenceParse(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    const Wide cap = Wide(1) << 100;
    Wide magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            break;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > cap)
            magnitude = cap;
    }
    const Wide value = negative ? -magnitude : magnitude;
    if (!fits(value))
        return {StartChecks::NumberStatus::TooLarge, 0};
    return {StartChecks::NumberStatus::Ok, qint64(value)};
}

std::optional<qint64> referenceFactor(const QString &unit)
{
    static const struct
    {
        QLatin1String text;
        qint64 seconds;
    } units[] = {
        {QLatin1String("Years"), 360 * 86400},
        {QLatin1String("Months"), 30 * 86400},
        {QLatin1String("Days"), 86400},
        {QLatin1String("Hours"), 3600},
        {QLatin1String("Minutes"), 60},
        {QLatin1String("Seconds"), 1},
    };
    for (const auto &entry : units) {
        if (unit == entry.text)
            return entry.seconds;
    }
    return std::nullopt;
}

// What the Run handler does with the two texts of the countdown page.
void checkCountdownPage(const QString &numberText, const QString &unitText, qint64 minimum)
{
    const StartChecks::LeadingNumber parsed = StartChecks::parseLeadingNumber(numberText);
    const StartChecks::LeadingNumber expected = referenceParse(numberText);
    REQUIRE(parsed.status == expected.status && parsed.value == expected.value,
        QStringLiteral("parse of \"%1\" gave %2").arg(numberText).arg(parsed.value));

    const std::optional<qint64> factor = StartChecks::unitFactor(unitText);
    REQUIRE(factor == referenceFactor(unitText), unitText);

    // The handler goes on only with a positive number and a known unit.
    if (parsed.status != StartChecks::NumberStatus::Ok || parsed.value <= 0 || !factor)
        return;
    const std::optional<qint64> length = StartChecks::countdownLength(parsed.value, *factor);
    const Wide exact = Wide(parsed.value) * *factor;
    if (fits(exact)) {
        REQUIRE(length && *length == exact && *length > 0,
            QStringLiteral("%1 x %2 gave %3").arg(parsed.value).arg(*factor).arg(length.value_or(0)));
    } else {
        REQUIRE(!length, QStringLiteral("%1 x %2 wrapped to %3").arg(parsed.value).arg(*factor).arg(*length));
        return;
    }

    const std::optional<qint64> count = StartChecks::taskCount(*length, minimum);
    const Wide exactCount = Wide(std::max(*length, minimum)) + 1;
    if (fits(exactCount))
        REQUIRE(count && *count == exactCount && *count >= 1, number(exactCount));
    else
        REQUIRE(!count, number(exactCount));
}

void checkArithmetic(qint64 a, qint64 b, double seconds)
{
    const std::optional<qint64> product = StartChecks::countdownLength(a, b);
    const Wide exact = Wide(a) * b;
    REQUIRE(fits(exact) ? product && *product == exact : !product,
        QStringLiteral("%1 x %2 gave %3").arg(a).arg(b).arg(product.value_or(0)));

    const std::optional<qint64> count = StartChecks::taskCount(a, b);
    const Wide exactCount = Wide(std::max(a, b)) + 1;
    REQUIRE(fits(exactCount) ? count && *count == exactCount : !count,
        QStringLiteral("count of %1, %2 gave %3").arg(a).arg(b).arg(count.value_or(0)));

    const qint64 truncated = StartChecks::truncateTowardZero(seconds);
    if (std::isnan(seconds))
        REQUIRE(truncated == 0, QString::number(truncated));
    else if (seconds >= 9223372036854775808.0)
        REQUIRE(truncated == Max, QString::number(truncated));
    else if (seconds < -9223372036854775808.0)
        REQUIRE(truncated == Min, QString::number(truncated));
    else
        REQUIRE(double(truncated) == std::trunc(seconds), QStringLiteral("%1 -> %2").arg(seconds).arg(truncated));
}

// Reads the time-left text back and checks that it spells n exactly:
// days, hours, minutes, seconds in that order, each in its range and with
// n's sign, the singular exactly for 1, nothing for 0.
void checkLeftTime(qint64 n)
{
    const QString text = CalendarMath::calculateLeftTime(n);
    static const struct
    {
        QLatin1String singular;
        QLatin1String plural;
        qint64 seconds;
        qint64 range;
    } parts[] = {
        {QLatin1String("Day"), QLatin1String("Days"), 86400, 0},
        {QLatin1String("Hour"), QLatin1String("Hours"), 3600, 24},
        {QLatin1String("Minute"), QLatin1String("Minutes"), 60, 60},
        {QLatin1String("Second"), QLatin1String("Seconds"), 1, 60},
    };

    QStringList words = text.split(QLatin1Char(' '));
    const bool endsInBlank = text.endsWith(QLatin1Char(' '));
    if (words.constLast().isEmpty())
        words.removeLast();
    REQUIRE(words.size() % 2 == 0, text);

    Wide total = 0;
    int nextPart = 0;
    bool lastIsSeconds = false;
    for (qsizetype w = 0; w < words.size(); w += 2) {
        int p = nextPart;
        while (p < 4 && words.at(w + 1) != parts[p].singular && words.at(w + 1) != parts[p].plural)
            ++p;
        REQUIRE(p < 4, text);
        bool ok = false;
        const qint64 value = words.at(w).toLongLong(&ok);
        REQUIRE(ok && value != 0, text);
        REQUIRE((words.at(w + 1) == parts[p].singular) == (value == 1), text);
        REQUIRE(parts[p].range == 0 || (value > -parts[p].range && value < parts[p].range), text);
        REQUIRE((value > 0) == (n > 0), text);
        total += Wide(value) * parts[p].seconds;
        nextPart = p + 1;
        lastIsSeconds = p == 3;
    }
    // Days, hours and minutes each end in one blank, seconds in none.
    REQUIRE(endsInBlank == (!words.isEmpty() && !lastIsSeconds), text);
    REQUIRE(total == n, QStringLiteral("\"%1\" is not %2").arg(text).arg(n));
}

} // namespace

// The time-left text speaks English through Morvane's built-in catalogue of
// plural forms, which needs an application object to be installed in, as
// in Morvane.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    static QTranslator english;
    if (!english.load(QStringLiteral(":/i18n/morvane_en.qm")) || !QCoreApplication::installTranslator(&english))
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const uint8_t mode = input.ConsumeIntegral<uint8_t>();
    const qint64 first = input.ConsumeIntegral<qint64>();
    const qint64 second = input.ConsumeIntegral<qint64>();
    const double seconds = input.ConsumeFloatingPoint<double>();
    const std::string unitBytes = input.ConsumeRandomLengthString(64);
    const std::string numberBytes = input.ConsumeRemainingBytesAsString();

    const QString unitText = QString::fromUtf8(unitBytes.data(), qsizetype(unitBytes.size()));
    QString numberText;
    if (mode & 1) {
        std::u16string units(numberBytes.size() / 2, u'\0');
        std::memcpy(units.data(), numberBytes.data(), units.size() * sizeof(char16_t));
        numberText = QString::fromStdU16String(units);
    } else {
        numberText = QString::fromUtf8(numberBytes.data(), qsizetype(numberBytes.size()));
    }

    // A minimum of the stepper's kind (0 or more) or, by the mode, any.
    const qint64 minimum = (mode & 2) ? second : qint64(quint64(second) % 3601);
    checkCountdownPage(numberText, unitText, minimum);
    checkArithmetic(first, second, seconds);
    checkLeftTime(first);
    return 0;
}
