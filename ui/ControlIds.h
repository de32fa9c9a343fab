#pragma once
// Fixed control ids of the criteria pages: the main window and the tests find the controls by them.
// Ids are unique across the pages, so one message switch can tell every control apart.

namespace ui::ids {

// The pages themselves.
inline constexpr int kPageFilesAndFolders = 900;
inline constexpr int kPageContainingText = 901;
inline constexpr int kPageDateAndSize = 902;
inline constexpr int kPageAttributes = 903;

// Files and Folders.
inline constexpr int kFileMaskLabel = 1000;
inline constexpr int kFileMask = 1001;
inline constexpr int kFileMaskModeLabel = 1002;
inline constexpr int kFileMaskMode = 1003;
inline constexpr int kSearchPathLabel = 1004;
inline constexpr int kSearchPath = 1005;
inline constexpr int kActFILEBrowse = 1006;  // the Browse button next to the search path
inline constexpr int kSearchInSubfolders = 1007;
inline constexpr int kIncludeHiddenSubfolders = 1008;
inline constexpr int kShowFileNames = 1009;
inline constexpr int kShowFolderNames = 1010;
inline constexpr int kAppendResults = 1011;
inline constexpr int kBrowseSplitButton = 1012;      // the hidden split Browse button and its menu half
inline constexpr int kBrowseSplitMenuButton = 1013;

// Containing Text.
inline constexpr int kSearchTextLabel = 1100;
inline constexpr int kSearchText = 1101;
inline constexpr int kTextMaskModeLabel = 1102;
inline constexpr int kTextMaskMode = 1103;
inline constexpr int kAnyWords = 1104;
inline constexpr int kAllWords = 1105;
inline constexpr int kWholeWords = 1106;
inline constexpr int kCaseSensitive = 1107;
inline constexpr int kWithout = 1108;
inline constexpr int kSkipHiddenFiles = 1109;
inline constexpr int kSkipSystemFiles = 1110;
inline constexpr int kSkipImageFiles = 1111;
inline constexpr int kSkipAudioFiles = 1112;
inline constexpr int kSkipVideoFiles = 1113;
inline constexpr int kUseTextFilters = 1114;

// Date and Size. Each date row (Modified, Creation, Last Access: the date type's ordinal) has a block of ids.
inline constexpr int kDateSelect = 1200;
inline constexpr int kDateRowFirst = 1210;
inline constexpr int kDateRowStride = 20;
enum DateRowField : int {
    kRowSelect, kRowRange, kRowFromDate, kRowFromTime, kRowAnd, kRowToDate, kRowToTime,
    kRowDelay, kRowDelayDate, kRowDelayTime, kRowPeriodDelay, kRowPeriodUpDown,
};
constexpr int DateRowId(int row, DateRowField field) { return kDateRowFirst + row * kDateRowStride + field; }
inline constexpr int kSizeSelect = 1280;
inline constexpr int kSizeRange = 1281;
inline constexpr int kSizeLargerValue = 1282;
inline constexpr int kSizeLargerUpDown = 1283;
inline constexpr int kSizeLargerUnit = 1284;
inline constexpr int kSizeAnd = 1285;
inline constexpr int kSizeSmallerValue = 1286;
inline constexpr int kSizeSmallerUpDown = 1287;
inline constexpr int kSizeSmallerUnit = 1288;

// Attributes. The attribute boxes are numbered by the attribute's ordinal.
inline constexpr int kAttrEnabled = 1300;
inline constexpr int kAttrMatchAny = 1301;
inline constexpr int kAttrMatchAll = 1302;
inline constexpr int kAttrMatchOnly = 1303;
inline constexpr int kAttrNtfsNote = 1304;
inline constexpr int kAttrBoxFirst = 1310;

// The main window.
inline constexpr int kSelections = 800;       // the page control over the four criteria pages
inline constexpr int kSearchPause = 2000;     // the Search button, which is the Pause button during a run
inline constexpr int kStopButton = 2001;
inline constexpr int kResetButton = 2002;
inline constexpr int kResultList = 2010;
inline constexpr int kStatusBar = 2011;

// The main window's actions: their WM_COMMAND ids, shared by the menu items and the accelerators.
inline constexpr int actACTIONSearch = 3000;
inline constexpr int actACTIONPause = 3001;
inline constexpr int actACTIONStop = 3002;
inline constexpr int actACTIONReset = 3003;
inline constexpr int actACTIONFindInResults = 3004;
inline constexpr int actACTIONFilterResults = 3005;

inline constexpr int actVIEWReport = 3100;
inline constexpr int actVIEWThumbnail = 3101;
inline constexpr int actVIEWIcon = 3102;
inline constexpr int actVIEWSmallIcon = 3103;
inline constexpr int actVIEWList = 3104;
inline constexpr int actVIEWTile = 3105;
inline constexpr int actVIEWShowGridLines = 3106;
inline constexpr int actVIEWZoomIncrease = 3107;
inline constexpr int actVIEWZoomDecrease = 3108;
inline constexpr int actVIEWZoomVeryLarge = 3109;
inline constexpr int actVIEWZoomLarge = 3110;
inline constexpr int actVIEWZoomMedium = 3111;
inline constexpr int actVIEWZoomNormal = 3112;
inline constexpr int actVIEWZoomSmall = 3113;
inline constexpr int actVIEWZoomBoldText = 3114;
inline constexpr int actVIEWZoomAutoResizes = 3115;
inline constexpr int actVIEWAutoResizes = 3116;
inline constexpr int actVIEWSourceFolders = 3117;

inline constexpr int actFILEExit = 3200;
inline constexpr int actFILEBrowse = 3201;
inline constexpr int actFILENewSearchPaths = 3202;
inline constexpr int actFILEEditSearchPaths = 3203;
inline constexpr int actFILESaveResults = 3204;
inline constexpr int actFILELoadResultsFromFile = 3205;
inline constexpr int actFILEExportResults = 3206;

inline constexpr int actEDITUndo = 3300;
inline constexpr int actEDITRedo = 3301;
inline constexpr int actEDITCut = 3302;
inline constexpr int actEDITCopy = 3303;
inline constexpr int actEDITCopyToFolder = 3304;
inline constexpr int actEDITMoveToFolder = 3305;
inline constexpr int actEDITCreateShortcut = 3306;
inline constexpr int actEDITDelete = 3307;
inline constexpr int actEDITRename = 3308;
inline constexpr int actEDITRemoveFromList = 3309;
inline constexpr int actEDITSelectAll = 3310;
inline constexpr int actEDITSelectBySourceFolders = 3311;
inline constexpr int actEDITInvertSelection = 3312;
inline constexpr int actEDITUnselectAll = 3313;

inline constexpr int actINSTALLAddToContextMenu = 3400;
inline constexpr int actINSTALLRemoveFromContextMenu = 3401;

inline constexpr int actSETTINGSManageItems = 3500;
inline constexpr int actSETTINGSManageIFilters = 3501;
inline constexpr int actSETTINGSResetColumnsToDefault = 3502;
inline constexpr int actSETTINGSOptions = 3503;

inline constexpr int actHELPTopics = 3600;
inline constexpr int actHELPWebSite = 3601;
inline constexpr int actHELPAbout = 3602;

// The main window's menus, entries of the action table beside the actions.
inline constexpr int miFILE = 3900;
inline constexpr int miEDIT = 3901;
inline constexpr int miACTION = 3902;
inline constexpr int miVIEW = 3903;
inline constexpr int miVIEWZoom = 3904;
inline constexpr int miTOOLS = 3905;
inline constexpr int miSETTINGS = 3906;
inline constexpr int miHELP = 3907;

} // namespace ui::ids
