// The session tree as the session commands see it: nodes known by their fixed node ids
// (app/session_format.h), inserted, expanded and cleared. The Win32 tree view implements it.
#pragma once

#include <cstdint>

namespace zarvo {

// Images of the tree's image list; the root has none.
constexpr int kTreeImageTrack = 0;
constexpr int kTreeImageDrivers = 1;
constexpr int kTreeImageParameters = 2;
constexpr int kTreeImageSessions = 3;
constexpr int kTreeImageNone = 4;

class SessionTreeNodes {
 public:
  virtual ~SessionTreeNodes() = default;
  // Deletes every node.
  virtual void Clear() = 0;
  // parentId 0 inserts a root; afterId 0 makes the node the last child of its parent.
  virtual void InsertNode(int32_t id, int32_t parentId, int32_t afterId, const char* label,
                          int image, bool bold) = 0;
  virtual void Expand(int32_t id) = 0;
};

}  // namespace zarvo
