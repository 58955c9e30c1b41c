// Resource ids of Brisko's convert part (included by brisko/BriskoResource.h).
#pragma once
