// The deletion library beside the executable.
#pragma once

namespace scourly {

class Purgix {
 public:
  virtual ~Purgix() = default;

  // True when the library and its export doDELETE could be loaded.
  virtual bool Available() = 0;

  // Calls doDELETE: moves every path named in "FList.txt" (in the program's
  // folder) to the Recycle Bin and returns when done.
  virtual void DoDelete() = 0;
};

}  // namespace scourly
