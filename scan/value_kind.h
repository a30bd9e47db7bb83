// How the walker tells the classifier where a value's path lies.
#pragma once

namespace quorvane {

enum ValueKind : int {
  DataPath = 0,
  SharedDllPath = 1,
  HelpFilePath = 2,
  NamePathString = 4,
  NamePathDword = 5,
  ExpandedDataPath = 6,
};

}  // namespace quorvane
