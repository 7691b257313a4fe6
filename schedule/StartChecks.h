#pragma once

#include <QDateTime>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// The arithmetic of starting a task, kept free of widgets so that any text a
// user can type may be fed to it directly. Every function answers a value;
// none of them can overflow, wrap or throw.
namespace StartChecks {

enum class NumberStatus {
    Ok,
    // The digits name a number beyond the signed 64-bit range.
    TooLarge,
};

struct LeadingNumber
{
    NumberStatus status = NumberStatus::Ok;
    // The number read; 0 when the text has no leading digits or is too large.
    qint64 value = 0;
};

// Reads the number a text starts with: blanks are skipped, then an optional
// "+" or "-", then the ASCII digits up to the first other character. A text
// with no digits there reads as 0. Leading zeros never count towards the
// size, so "007" is 7; a value outside the signed 64-bit range is TooLarge.
LeadingNumber parseLeadingNumber(QStringView text);

// Seconds per unit for the exact unit texts "Years" (360 days), "Months"
// (30 days), "Days", "Hours", "Minutes" and "Seconds"; case matters. Any
// other text has no factor.
std::optional<qint64> unitFactor(QStringView unitText);

// number x factor in seconds, or nothing when the product leaves the signed
// 64-bit range.
std::optional<qint64> countdownLength(qint64 number, qint64 factor);

// A floating number of seconds cut toward zero (90.7 -> 90, -0.5 -> 0).
// Values beyond the 64-bit range saturate and NaN gives 0, so a date far
// away can never yield an undefined count.
qint64 truncateTowardZero(double seconds);

// The count a task starts with: the length raised to the minimum, plus the
// one tick that ends the task. Nothing when that does not fit in 64 bits.
std::optional<qint64> taskCount(qint64 length, qint64 minimum);

enum class MomentStatus {
    Ahead,
    // Now or earlier: the action would be carried out at once.
    Passed,
    // A time the clock jumps over as summer time begins: no such moment.
    Skipped,
};

struct MomentLength
{
    MomentStatus status = MomentStatus::Ahead;
    // Whole seconds from now, cut toward zero; 0 unless Ahead.
    qint64 seconds = 0;
};

// How far target lies ahead of now, for a task that ends at target. An
// invalid target is a skipped time.
MomentLength momentLength(const QDateTime &now, const QDateTime &target);

} // namespace StartChecks
