// Resource ids of Brisko's tools part (included by brisko/BriskoResource.h).
#pragma once
