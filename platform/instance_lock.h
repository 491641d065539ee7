#pragma once

#include <string>

namespace orimo {

// The single-instance lock: an exclusive lock on a file named after the lock in the user's
// runtime directory. Held from a successful Acquire until destruction.
class InstanceLock {
 public:
  explicit InstanceLock(std::string name);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when this process now holds the lock; any failure counts as "another instance runs".
  bool Acquire();
  void Release();

  // Where the lock file of `name` lives.
  static std::string LockPath(const std::string& name);

 private:
  std::string name_;
  int fd_ = -1;
};

}  // namespace orimo
