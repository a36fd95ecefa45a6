#include "shell/TrayIcon.h"

void TTrayIcon::SplashEnded() {
  resident_ = true;
  AddOrRetry();
}

void TTrayIcon::TaskbarCreated() {
  if (resident_) AddOrRetry();
}

void TTrayIcon::IconChanged() {
  if (resident_ && !retrying_) shell_.NotifyIcon(platform::kNimModify, record_);
}

void TTrayIcon::RetryTick() {
  if (!retrying_) return;
  if (Add() || --retriesLeft_ == 0) StopRetries();
}

void TTrayIcon::Remove() {
  StopRetries();
  shell_.NotifyIcon(platform::kNimDelete, record_);
}

void TTrayIcon::AddOrRetry() {
  if (Add()) {
    StopRetries();
    return;
  }
  retriesLeft_ = kRetries;
  retrying_ = true;
  timers_.StartTimer(record_.window, kRetryTimerId, kRetryIntervalMs);
}

bool TTrayIcon::Add() {
  if (shell_.NotifyIcon(platform::kNimAdd, record_)) return true;
  // An add that timed out (ERROR_TIMEOUT while the shell is busy at logon)
  // may still have been carried out, and an icon that Explorer kept across
  // a change of the screen's DPI is there already: either way the shell
  // refuses a second add of it, and accepts a change to it.
  return shell_.NotifyIcon(platform::kNimModify, record_);
}

void TTrayIcon::StopRetries() {
  if (!retrying_) return;
  retrying_ = false;
  timers_.StopTimer(record_.window, kRetryTimerId);
}
