#include "controls/grid/advgridfilter.h"

void TFilterData::Assign(const TPersistent* Source)
{
    auto S = dynamic_cast<const TFilterData*>(Source);
    if (S == nullptr)
        return TCollectionItem::Assign(Source);
    FColumn = S->FColumn;
    FCondition = S->FCondition;
    FCaseSensitive = S->FCaseSensitive;
}

TFilter::TFilter(TAdvStringGrid* AOwner)
    : TCollection(CollectionItemClass<TFilterData>()), FOwner(AOwner)
{
}

TFilterData* TFilter::Items(int Index) const
{
    return static_cast<TFilterData*>(TCollection::Items(Index));
}

TFilterData* TFilter::Add()
{
    return static_cast<TFilterData*>(TCollection::Add());
}

TGridItem::TGridItem(TCollection* Collection)
    : TCollectionItem(Collection), FItems(std::make_unique<TStringList>())
{
}

TGridItem::~TGridItem() = default;

void TGridItem::Assign(const TPersistent* Source)
{
    auto S = dynamic_cast<const TGridItem*>(Source);
    if (S == nullptr)
        return TCollectionItem::Assign(Source);
    FIdx = S->FIdx;
    FItems->Assign(S->FItems.get());
}

void TGridItem::SetItems(const TStrings* Value)
{
    FItems->Assign(Value);
}
