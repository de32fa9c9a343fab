#include "engine/SearchStatistics.h"

#include "kit/Strings.h"

#include <cmath>
#include <iterator>

#include "kit/Interaction.h"

namespace engine {
namespace {

constexpr double MSecsPerDay = 86400000.0;

std::wstring LocaleText(LCID locale, LCTYPE type, const wchar_t* fallback) {
    wchar_t buffer[16] = {};
    return GetLocaleInfoW(locale, type, buffer, static_cast<int>(std::size(buffer))) > 0 ? buffer : fallback;
}

// A non-negative float cut or rounded to a whole number that fits the formatter.
unsigned long long WholeNumber(long double value) {
    if (!(value > 0)) return 0;  // also catches NaN
    constexpr long double limit = 1e19L;
    return value >= limit ? static_cast<unsigned long long>(limit) : static_cast<unsigned long long>(value);
}

std::wstring TwoDigits(std::uint32_t n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); }

std::wstring ThreeDigits(std::uint32_t n) {
    std::wstring text = std::to_wstring(n);
    return std::wstring(3 - text.size(), L'0') + text;
}

} // namespace

TSearchStatistics::TSearchStatistics(LCID locale)
    : localeId_(locale == LOCALE_USER_DEFAULT ? GetUserDefaultLCID() : locale),
      formatSettings_{LocaleText(localeId_, LOCALE_STHOUSAND, L","), LocaleText(localeId_, LOCALE_STIME, L":")} {
    searchStart_ = searchStop_ = exportStart_ = exportStop_ = Now();
}

TSearchStatistics::Stamp TSearchStatistics::Now() {
    kit::Interaction& clock = kit::UserInteraction();
    return Stamp{clock.Now(), clock.TickCount()};
}

void TSearchStatistics::Reset() {
    scannedFiles_ = scannedFolders_ = controlledObjects_ = 0;
    filesFound_ = foldersFound_ = objectsFound_ = 0;
    totalSize_ = 0;
    searchStart_ = searchStop_ = Now();
}

void TSearchStatistics::EndSearch() { searchStop_ = Now(); }

void TSearchStatistics::StartExport() { exportStart_ = exportStop_ = Now(); }

void TSearchStatistics::EndExport() { exportStop_ = Now(); }

std::wstring TSearchStatistics::GetObjectsFoundText() const {
    return L"Objects Found: " + std::to_wstring(filesFound_) + L" Files and " + std::to_wstring(foldersFound_) +
           L" Folders";
}

std::wstring TSearchStatistics::GetTotalSizeText() const {
    return L"Total Size: " + kit::GroupDigits(WholeNumber(totalSize_ / 1024), formatSettings_.ThousandSeparator) + L" KBytes";
}

std::wstring TSearchStatistics::GetSummaryText() {
    const std::uint32_t elapsed = Elapsed(searchStart_, searchStop_);
    searchTime_ = elapsed / MSecsPerDay;
    // A search quicker than the clock's resolution counts as 5 ms, so the speed stays finite.
    searchMilliseconds_ = elapsed == 0 ? 5 : elapsed;
    speed_ = controlledObjects_ >= 1 ? static_cast<double>(controlledObjects_) / searchMilliseconds_ * 1000 : 0;
    return L" Total Objects Found: " + std::to_wstring(objectsFound_) + L" - Search Time: " +
           MinutesSecondsMilliseconds(elapsed) + L" (min.sec.msec) - Controlled: " +
           std::to_wstring(controlledObjects_) + L" Objects - Speed: " +
           kit::GroupDigits(WholeNumber(std::round(static_cast<long double>(speed_))), formatSettings_.ThousandSeparator) +
           L" Objects/sec.";
}

std::wstring TSearchStatistics::GetExportTimeText() {
    const std::uint32_t elapsed = Elapsed(exportStart_, exportStop_);
    exportTime_ = elapsed / MSecsPerDay;
    return L" Done - Export Time: " + MinutesSecondsMilliseconds(elapsed) + L" (min.sec.msec)";
}

// "nn:ss:zzz": the hours are not shown, so 1 h 2 min 3.004 s reads 02:03:004.
std::wstring TSearchStatistics::MinutesSecondsMilliseconds(std::uint32_t milliseconds) const {
    const std::wstring& separator = formatSettings_.TimeSeparator;
    return TwoDigits(milliseconds / 60000 % 60) + separator + TwoDigits(milliseconds / 1000 % 60) + separator +
           ThreeDigits(milliseconds % 1000);
}

} // namespace engine
