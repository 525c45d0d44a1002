file(REMOVE_RECURSE
  "libtessel_core.a"
)
