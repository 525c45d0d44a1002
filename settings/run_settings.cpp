#include "settings/run_settings.h"

run_settings_t run_settings;

void reset_run_settings()
{
    run_settings = run_settings_t{};
}
