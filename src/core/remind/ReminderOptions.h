#pragma once

// What the reminders do, from the settings: today's notice at start and at the day change, the timed reminders, and
// how many minutes before the time they come (0: at the time).
struct ReminderOptions {
    bool today = true;
    bool timed = true;
    int minutes = 10;
    bool operator==(const ReminderOptions &) const = default;
};
