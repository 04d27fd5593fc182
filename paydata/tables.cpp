#include "paydata/tables.h"

#include "paydata/amount.h"

namespace paydata {

namespace {
void RequireRow(int row, int count)
{
    if (row < 0 || row >= count) throw ConversionError(FailureKind::NoSuchRow);
}
} // namespace

int BasePoints(int row)
{
    RequireRow(row, kCategoryCount);
    return kIndexPointGrid[static_cast<std::size_t>(row)][0];
}

int EchelonPoints(int echelon, int row)
{
    // Column 0 holds the base points, never an echelon's.
    RequireRow(echelon - 1, kEchelonCount - 1);
    RequireRow(row, kCategoryCount);
    return kIndexPointGrid[static_cast<std::size_t>(row)][static_cast<std::size_t>(echelon)];
}

int FlatAllowance(int row)
{
    RequireRow(row, kCategoryCount);
    return kFlatAllowance[static_cast<std::size_t>(row)];
}

int PostAmount(int row)
{
    RequireRow(row, kPostCount);
    return kSpecificPosts[static_cast<std::size_t>(row)].amount;
}

} // namespace paydata
