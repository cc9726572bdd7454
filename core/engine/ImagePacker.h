#pragma once

#include <vector>

#include "core/engine/FewestMediaPacker.h"
#include "core/engine/FileSystemAllowance.h"

namespace zv {

// Packs items onto media that are ISO images (as the export makes them), each
// charged exactly what its image takes: its files in whole sectors and the
// records of the folders it holds, which a medium pays once however many of a
// folder's files it holds. So the items go in the order of their paths, a
// medium taking the next ones while its image fits, and the room that is left
// then goes to the largest later items that still fit: a folder's files stay
// together on few media, and the media come in the order of the tree. Where
// items are large beside the capacity, the fewest-media packer by what each
// item costs alone may need fewer media; its plan is taken then, each image
// checked as well.
//
// `files[i].item` is the item's index in [0, itemCount). An item whose image
// alone is larger than the capacity stays unplaced, and so do the items past
// the media count. A medium with no more than the minimum item count gives
// its items back as unplaced. The tolerance plays no part: every medium is
// filled as far as it goes.
PackPlan PackImages(const std::vector<MemberFile>& files, int itemCount, const PackLimits& limits,
                    const PackProgress& progress);

}  // namespace zv
