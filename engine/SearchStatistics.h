#pragma once
// What one search walked and found, how long it and the last export took, and the status-bar texts of those
// values. The clock comes from the interaction seam.
#include <windows.h>
#include <cstdint>
#include <string>

namespace engine {

// The separators of the user's locale that the texts use, read once.
struct TFormatSettings {
    std::wstring ThousandSeparator;
    std::wstring TimeSeparator;
};

class TSearchStatistics {
public:
    // `locale` picks the number formats; the user's default unless a test fixes one.
    explicit TSearchStatistics(LCID locale = LOCALE_USER_DEFAULT);

    void Reset();
    void EndSearch();
    void AddScannedFiles(std::int64_t n) { scannedFiles_ += n; }
    void AddScannedFolders(std::int64_t n) { scannedFolders_ += n; }
    void AddControlledObjects(std::int64_t n) { controlledObjects_ += n; }
    void IncFilesFound() { ++filesFound_; }
    void IncFoldersFound() { ++foldersFound_; }
    void IncObjectsFound() { ++objectsFound_; }
    void AddSize(long double size) { totalSize_ += size; }
    void StartExport();
    void EndExport();

    // "Objects Found: 12 Files and 3 Folders".
    std::wstring GetObjectsFoundText() const;
    // "Total Size: 1,024 KBytes": whole KB, with the locale's thousands separator.
    std::wstring GetTotalSizeText() const;
    // The totals line; also updates SearchTime, SearchMilliseconds and Speed.
    std::wstring GetSummaryText();
    // " Done - Export Time: ..."; also updates ExportTime.
    std::wstring GetExportTimeText();

    LCID LocaleId() const { return localeId_; }
    const TFormatSettings& FormatSettings() const { return formatSettings_; }
    std::int64_t ScannedFiles() const { return scannedFiles_; }
    std::int64_t ScannedFolders() const { return scannedFolders_; }
    std::int64_t ControlledObjects() const { return controlledObjects_; }
    std::int64_t FilesFound() const { return filesFound_; }
    std::int64_t FoldersFound() const { return foldersFound_; }
    std::int64_t ObjectsFound() const { return objectsFound_; }
    long double TotalSize() const { return totalSize_; }
    // Local date-times (days since 30 December 1899); the times are spans in days.
    double SearchStart() const { return searchStart_.date; }
    double SearchStop() const { return searchStop_.date; }
    double SearchTime() const { return searchTime_; }
    double ExportStart() const { return exportStart_.date; }
    double ExportStop() const { return exportStop_.date; }
    double ExportTime() const { return exportTime_; }
    std::int64_t SearchMilliseconds() const { return searchMilliseconds_; }
    double Speed() const { return speed_; }

private:
    // A moment: the local date-time to show, and the tick count to measure spans with, which neither a
    // clock change nor a daylight-saving switch moves.
    struct Stamp {
        double date = 0;
        DWORD ticks = 0;
    };
    static Stamp Now();
    static std::uint32_t Elapsed(const Stamp& start, const Stamp& stop) { return stop.ticks - start.ticks; }
    std::wstring MinutesSecondsMilliseconds(std::uint32_t milliseconds) const;

    LCID localeId_;
    TFormatSettings formatSettings_;
    std::int64_t scannedFiles_ = 0;
    std::int64_t scannedFolders_ = 0;
    std::int64_t controlledObjects_ = 0;
    std::int64_t filesFound_ = 0;
    std::int64_t foldersFound_ = 0;
    std::int64_t objectsFound_ = 0;
    long double totalSize_ = 0;
    Stamp searchStart_, searchStop_;
    double searchTime_ = 0;
    Stamp exportStart_, exportStop_;
    double exportTime_ = 0;
    std::int64_t searchMilliseconds_ = 0;
    double speed_ = 0;
};

} // namespace engine
