// A text of the fixture.
#pragma once
