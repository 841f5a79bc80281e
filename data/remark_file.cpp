// Placeholder until the remark file reader lands.
#include "data/congregation_data.h"

namespace velunorh {
void CongregationData::LoadMonthRemarks(int) {}
void CongregationData::LoadPreviousYearMonthRemarks(int) {}
int CongregationData::FindPublisherById(std::uint16_t) const { return 0; }
bool CongregationData::GetRemark(int, int, bool, std::string&) { return false; }
}  // namespace velunorh
