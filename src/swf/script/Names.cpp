#include "swf/script/Names.h"

namespace swf::script {

Names::Names(StringTable& s)
    : empty(s.Intern("")), proto(s.Intern("__proto__")), prototype(s.Intern("prototype")),
      constructor(s.Intern("constructor")), constructorHidden(s.Intern("__constructor__")),
      length(s.Intern("length")), toString(s.Intern("toString")), valueOf(s.Intern("valueOf")),
      resolve(s.Intern("__resolve")), arguments(s.Intern("arguments")), callee(s.Intern("callee")),
      caller(s.Intern("caller")), thisName(s.Intern("this")), super(s.Intern("super")),
      global(s.Intern("_global")), root(s.Intern("_root")), parent(s.Intern("_parent")),
      level0(s.Intern("_level0")), message(s.Intern("message")), name(s.Intern("name")),
      undefined(s.Intern("undefined")), null(s.Intern("null")), trueName(s.Intern("true")),
      falseName(s.Intern("false")), nan(s.Intern("NaN")), infinity(s.Intern("Infinity")),
      negativeInfinity(s.Intern("-Infinity")), number(s.Intern("number")),
      boolean(s.Intern("boolean")), string(s.Intern("string")), object(s.Intern("object")),
      function(s.Intern("function")), movieclip(s.Intern("movieclip")),
      objectObject(s.Intern("[object Object]")), typeFunction(s.Intern("[type Function]")),
      onEnterFrame(s.Intern("onEnterFrame")), onLoad(s.Intern("onLoad")),
      onUnload(s.Intern("onUnload")), interfaces(s.Intern("__interfaces__")),
      stringClass(s.Intern("String")) {}

void Names::Trace(Tracer& t) const {
    for (String* name : {empty,
                         proto,
                         prototype,
                         constructor,
                         constructorHidden,
                         length,
                         toString,
                         valueOf,
                         resolve,
                         arguments,
                         callee,
                         caller,
                         thisName,
                         super,
                         global,
                         root,
                         parent,
                         level0,
                         message,
                         name,
                         undefined,
                         null,
                         trueName,
                         falseName,
                         nan,
                         infinity,
                         negativeInfinity,
                         number,
                         boolean,
                         string,
                         object,
                         function,
                         movieclip,
                         objectObject,
                         typeFunction,
                         onEnterFrame,
                         onLoad,
                         onUnload,
                         interfaces,
                         stringClass}) {
        t.Visit(name);
    }
}

} // namespace swf::script
