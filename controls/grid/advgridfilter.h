// controls/grid/advgridfilter.h: the grid's row filter (TFilter of TFilterData conditions) and
// TGridItem, the saved cells of a row the grid keeps out of view.
#pragma once

#include "platform/rtl/collection.h"
#include "platform/rtl/stringlist.h"

#include <cstdint>
#include <memory>
#include <string>

class TAdvStringGrid;

// One condition of the row filter: the text of Column must match Condition.
class TFilterData : public TCollectionItem {
public:
    explicit TFilterData(TCollection* Collection) : TCollectionItem(Collection) {}
    void Assign(const TPersistent* Source) override;

    std::int16_t Column() const { return FColumn; }
    void SetColumn(std::int16_t Value) { FColumn = Value; }
    const std::string& Condition() const { return FCondition; }
    void SetCondition(const std::string& Value) { FCondition = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }

private:
    std::int16_t FColumn = 0;
    std::string FCondition;
    bool FCaseSensitive = true;
};

// The grid's row filter: a row passes when it matches every item.
class TFilter : public TCollection {
public:
    explicit TFilter(TAdvStringGrid* AOwner);

    TFilterData* Items(int Index) const;
    TFilterData* Add();
    TAdvStringGrid* Owner() const { return FOwner; }

private:
    TAdvStringGrid* FOwner;
};

// A row taken out of view: its real index and its cells (texts with their objects).
class TGridItem : public TCollectionItem {
public:
    explicit TGridItem(TCollection* Collection);
    ~TGridItem() override;
    void Assign(const TPersistent* Source) override;

    int Idx() const { return FIdx; }
    void SetIdx(int Value) { FIdx = Value; }
    TStrings* Items() const { return FItems.get(); }
    // Replaces the lines (and their objects).
    void SetItems(const TStrings* Value);

private:
    int FIdx = 0;
    std::unique_ptr<TStringList> FItems;
};
