#include "engine/resource/res_vertex_buffer.h"

#include <new>

namespace qel {

bool ResVertexBuffer::create() {
    std::vector<Vertex>().swap(vertices_);
    try {
        vertices_.resize(kVertexCount);
    } catch (const std::bad_alloc&) {
        setState(kFailed);
        return false;
    }
    setState(kLoaded);
    return true;
}

}  // namespace qel
