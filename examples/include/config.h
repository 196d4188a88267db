/* Settings shared by the sample's sources. */
#ifndef CONFIG_H
#define CONFIG_H

#define GREETING "Hello from the sample project"
#define REPEAT 3

#endif
