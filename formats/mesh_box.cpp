#include "formats/mesh_box.h"

#include <algorithm>

#include "engine/angles.h"
#include "engine/mesh.h"

std::array<std::int32_t, kBoxValues> computeMeshBox(const Mesh* mesh) {
    // Worked in 64 bits: coordinates near the int32 limits would overflow the
    // midpoints and the shift to the cell corner.
    std::array<std::int64_t, kBoxValues> box{};
    // Xmax and Zmax start at 0, the heights at -512: an empty mesh keeps them.
    box[kXmin] = 512;
    box[kXmax] = 0;
    box[kYmin] = 512;
    box[kZmin] = 512;
    box[kZmax] = 0;
    box[kYmax1] = box[kYmax2] = box[kYmax3] = box[kYmax4] = -512;
    if (mesh) {
        const int count = mesh->VertexCount();
        for (int i = 0; i < count; ++i) {
            box[kXmin] = std::min<std::int64_t>(box[kXmin], mesh->x[i]);
            box[kXmax] = std::max<std::int64_t>(box[kXmax], mesh->x[i]);
            box[kYmin] = std::min<std::int64_t>(box[kYmin], mesh->y[i]);
            box[kZmin] = std::min<std::int64_t>(box[kZmin], mesh->z[i]);
            box[kZmax] = std::max<std::int64_t>(box[kZmax], mesh->z[i]);
        }
        const std::int64_t cx = (box[kXmin] + box[kXmax]) / 2;
        const std::int64_t cz = (box[kZmin] + box[kZmax]) / 2;
        for (int i = 0; i < count; ++i) {
            const bool lowX = mesh->x[i] < cx;
            const bool lowZ = mesh->z[i] < cz;
            const int corner = lowZ ? (lowX ? kYmax1 : kYmax2) : (lowX ? kYmax4 : kYmax3);
            box[corner] = std::max<std::int64_t>(box[corner], mesh->y[i]);
        }
    }
    // Relative to the cell corner; what lies beyond the int32 range stops at it.
    std::array<std::int32_t, kBoxValues> corner{};
    for (int value = 0; value < kBoxValues; ++value)
        corner[value] = SaturateToInt32(box[value] + 256);
    return corner;
}
