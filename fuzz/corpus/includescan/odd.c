#include <stdio.h>
  #  include "spaced.h"
#include	"tab.h"
#include "unclosed.h
#include <mixed.h"
#include ""
#include
/* #include "commented.h" */
#include "ƒ\ƒ\.h"
