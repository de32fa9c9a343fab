#pragma once
// Which option groups of the criteria file a load or a save lets through. The program's options answer it
// (app::TOptionsSearchParams); the criteria model only asks.
namespace engine::SearchParams {

enum TCriteriaGroup { cgFilesAndFolders, cgContainingText, cgDateAndSize, cgAttributes };

class TCriteriaGroups {
public:
    virtual ~TCriteriaGroups() = default;
    virtual bool Loads(TCriteriaGroup group) const = 0;
    virtual bool Saves(TCriteriaGroup group) const = 0;
};

} // namespace engine::SearchParams
