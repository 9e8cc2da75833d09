// The session tree fake: nodes kept in their parents' order, as the tree control keeps them.
#include "tests/support/session_fakes.h"

#include <algorithm>

namespace zarvo::testing {

void FakeSessionTree::Clear() {
  const bool hadSelection = selected != 0;
  nodes.clear();
  children.clear();
  expanded.clear();
  selected = 0;
  if (hadSelection && onSelectionLost) onSelectionLost();
}

void FakeSessionTree::InsertNode(const TreeNode& node) {
  nodes[node.id] = Node{node.parentId, node.label, node.image, node.bold};
  std::vector<int32_t>& siblings = children[node.parentId];
  auto after = std::find(siblings.begin(), siblings.end(), node.afterId);
  if (node.afterId == 0 || after == siblings.end()) {
    siblings.push_back(node.id);
  } else {
    siblings.insert(after + 1, node.id);
  }
}

void FakeSessionTree::Remove(int32_t id) {
  for (int32_t child : ChildrenOf(id)) Remove(child);
  children.erase(id);
  expanded.erase(id);
  if (selected == id) selected = 0;
  nodes.erase(id);
}

void FakeSessionTree::DeleteNode(int32_t id) {
  auto found = nodes.find(id);
  if (found == nodes.end()) return;
  std::vector<int32_t>& siblings = children[found->second.parent];
  siblings.erase(std::remove(siblings.begin(), siblings.end(), id), siblings.end());
  const bool hadSelection = selected != 0;
  Remove(id);
  if (hadSelection && selected == 0 && onSelectionLost) onSelectionLost();
}

void FakeSessionTree::SetLabel(int32_t id, const char* label) {
  auto found = nodes.find(id);
  if (found != nodes.end()) found->second.label = label;
}

std::vector<int32_t> FakeSessionTree::ChildrenOf(int32_t id) const {
  auto found = children.find(id);
  return found == children.end() ? std::vector<int32_t>() : found->second;
}

std::string FakeSessionTree::LabelOf(int32_t id) const {
  auto found = nodes.find(id);
  return found == nodes.end() ? "<none>" : found->second.label;
}

std::vector<std::string> FakeSessionTree::Lines() const {
  std::vector<std::string> lines;
  std::function<void(int32_t, int)> walk = [&](int32_t parent, int depth) {
    for (int32_t id : ChildrenOf(parent)) {
      const Node& node = nodes.at(id);
      std::string line =
          std::string(size_t(2 * depth), ' ') + std::to_string(id) + " " + node.label;
      if (node.bold) line += " [bold]";
      line += " [image " + std::to_string(node.image) + "]";
      lines.push_back(line);
      walk(id, depth + 1);
    }
  };
  walk(0, 0);
  return lines;
}

}  // namespace zarvo::testing
