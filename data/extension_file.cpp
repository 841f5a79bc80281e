// Placeholder until the extension file reader lands.
#include "data/congregation_data.h"

namespace velunorh {
void CongregationData::CountExtensions() { extensionCount_ = 0; }
int CongregationData::LoadExtension(int) { return 0; }
}  // namespace velunorh
