-- nothing here
/* at all */
